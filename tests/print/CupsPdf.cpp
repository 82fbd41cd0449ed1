#include "CupsPdf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "base/PrintSystem.h"

namespace {

QString Run(const QString& program, const QStringList& args, bool* ok = nullptr) {
  QProcess process;
  process.start(program, args);
  const bool finished = process.waitForFinished(60000);
  if (ok) *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList PdfsIn(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}

int JobIdOf(const QString& name) {
  static const QRegularExpression id(QStringLiteral("^job_(\\d+)-"));
  const auto match = id.match(name);
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

constexpr double kMmPerPoint = 25.4 / 72;

}  // namespace

CupsPdfQueue::CupsPdfQueue(const QString& queue) : queue_(queue) {
  folder_ = queue == QLatin1String(kMarginsQueue) ? QStringLiteral("/var/spool/cups-pdf/labelkobo-margins")
                                                  : QStringLiteral("/var/spool/cups-pdf/labelkobo");
  bool ok = false;
  Run(QStringLiteral("lpstat"), {QStringLiteral("-v"), queue}, &ok);
  if (!ok || !QFileInfo(folder_).isDir()) {
    unavailable_ = QStringLiteral("no CUPS-PDF queue %1 (run scripts/setup-cups-pdf as root)").arg(queue);
    return;
  }
  if (!PrintSystem::Current().Printers().contains(queue)) {
    unavailable_ = QStringLiteral("Qt does not see the queue %1").arg(queue);
    return;
  }
  lock_ = std::make_unique<QLockFile>(QDir::tempPath() + QStringLiteral("/labelkobo-cups-pdf.lock"));
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(10 * 60 * 1000)) unavailable_ = QStringLiteral("the CUPS-PDF lock stays taken");
  seen_ = PdfsIn(folder_);
}

CupsPdfQueue::~CupsPdfQueue() = default;

bool CupsPdfQueue::SelectInPrintSystem() const {
  PrintSystem& system = PrintSystem::Current();
  const int index = static_cast<int>(system.Printers().indexOf(queue_));
  if (index < 0) return false;
  system.SetCurrentPrinter(index);
  return true;
}

QList<PdfFile> CupsPdfQueue::TakeNewPdfs(int count, int timeoutSeconds) {
  QElapsedTimer timer;
  timer.start();
  QStringList fresh;
  while (timer.elapsed() < timeoutSeconds * 1000) {
    fresh.clear();
    for (const QString& name : PdfsIn(folder_)) {
      if (!seen_.contains(name)) fresh.append(name);
    }
    const bool idle = Run(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue_}).trimmed().isEmpty();
    if (idle && fresh.size() >= count) break;
    QThread::msleep(200);
  }
  seen_.append(fresh);
  std::sort(fresh.begin(), fresh.end(), [](const QString& a, const QString& b) { return JobIdOf(a) < JobIdOf(b); });
  QList<PdfFile> files;
  static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
  static const QRegularExpression size(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"));
  for (const QString& name : fresh) {
    PdfFile file;
    file.path = folder_ + QLatin1Char('/') + name;
    file.jobId = JobIdOf(name);
    const QString info = Run(QStringLiteral("pdfinfo"), {file.path});
    file.pages = pages.match(info).captured(1).toInt();
    const auto s = size.match(info);
    file.pageMm = QSizeF(s.captured(1).toDouble() * kMmPerPoint, s.captured(2).toDouble() * kMmPerPoint);
    files.append(file);
  }
  return files;
}

QString RunPoppler(const QString& tool, const QStringList& args) { return Run(tool, args); }

QList<QSizeF> PdfPageSizesMm(const QString& pdf) {
  const QString info = Run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                                       QStringLiteral("-l"), QStringLiteral("100000"), pdf});
  static const QRegularExpression size(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
  QList<QSizeF> sizes;
  for (auto it = size.globalMatch(info); it.hasNext();) {
    const auto m = it.next();
    sizes.append(QSizeF(m.captured(1).toDouble() * kMmPerPoint, m.captured(2).toDouble() * kMmPerPoint));
  }
  return sizes;
}

QList<PdfWord> PdfWords(const QString& pdf, int page) {
  const QString html = Run(QStringLiteral("pdftotext"),
                           {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                            QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
  static const QRegularExpression word(QStringLiteral(
      "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
  QList<PdfWord> words;
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    const QPointF topLeft(m.captured(1).toDouble() * kMmPerPoint, m.captured(2).toDouble() * kMmPerPoint);
    const QPointF bottomRight(m.captured(3).toDouble() * kMmPerPoint, m.captured(4).toDouble() * kMmPerPoint);
    words.append({m.captured(5), QRectF(topLeft, bottomRight)});
  }
  return words;
}

QImage PdfPageGrey(const QString& pdf, int page, int dpi) {
  QTemporaryDir dir;
  const QString base = dir.filePath(QStringLiteral("page"));
  Run(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(dpi),
                                   QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                   QString::number(page), QStringLiteral("-singlefile"), pdf, base});
  QImageReader::setAllocationLimit(1024);  // a page at 600 dpi is larger than Qt reads by default
  return QImage(base + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
}

QImage PdfRegionGrey(const QString& pdf, int page, int dpi, const QRect& region) {
  QTemporaryDir dir;
  const QString base = dir.filePath(QStringLiteral("region"));
  Run(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(dpi),
                                   QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                   QString::number(page), QStringLiteral("-x"), QString::number(region.left()),
                                   QStringLiteral("-y"), QString::number(region.top()), QStringLiteral("-W"),
                                   QString::number(region.width()), QStringLiteral("-H"),
                                   QString::number(region.height()), QStringLiteral("-singlefile"), pdf, base});
  return QImage(base + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
}

QRectF GreyBoxMm(const QImage& page, int grey, int dpi) {
  int left = page.width(), top = page.height(), right = -1, bottom = -1;
  for (int y = 0; y < page.height(); ++y) {
    const uchar* row = page.constScanLine(y);
    for (int x = 0; x < page.width(); ++x) {
      if (std::abs(row[x] - grey) > 6) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return QRectF();
  const double mmPerPixel = 25.4 / dpi;
  return QRectF(left * mmPerPixel, top * mmPerPixel, (right + 1 - left) * mmPerPixel,
                (bottom + 1 - top) * mmPerPixel);
}

QString CupsPdfTitlePart(const QString& title) {
  QStringList parts;
  for (char c : title.toUtf8()) parts.append(QString::number(static_cast<unsigned char>(c), 8));
  return parts.join(QLatin1Char('_'));
}
