// vrdtool pdf / list-pdf / calibration: strip cards, the strip list and the
// calibration sheet as PDF files, drawn by the printer's own routines, with
// no window and no printer.
#include <QDateTime>
#include <QStringList>
#include <optional>

#include "Commands.h"
#include "document/StripDocument.h"
#include "document/StripRow.h"
#include "print/AdjustmentText.h"
#include "print/Calibration.h"
#include "print/PdfExport.h"
#include "TerminalProgress.h"

namespace {

constexpr int kDone = 0;
constexpr int kSkipped = 1;
constexpr int kFailed = 2;

// "1,3-5" as the strip numbers 1, 3, 4, 5 in that order; nothing when a
// part is no number or range of numbers from 1.
std::optional<QList<int>> ParseStripNumbers(const QString& text) {
  QList<int> numbers;
  for (const QString& part : text.split(QLatin1Char(','))) {
    const QStringList ends = part.split(QLatin1Char('-'));
    if (ends.size() > 2) return std::nullopt;
    bool okFirst = false, okLast = false;
    const int first = ends[0].trimmed().toInt(&okFirst);
    const int last = ends.size() == 2 ? ends[1].trimmed().toInt(&okLast) : (okLast = okFirst, first);
    if (!okFirst || !okLast || first < 1 || last < first) return std::nullopt;
    for (int n = first; n <= last; ++n) numbers.append(n);
  }
  return numbers;
}

// "V,H" in millimetres, each as the adjustment dialog takes it.
std::optional<PrintAdjustment> ParseAdjustmentPair(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() != 2) return std::nullopt;
  const std::optional<Decimal4> vertical = ParseAdjustment(parts[0]);
  const std::optional<Decimal4> horizontal = ParseAdjustment(parts[1]);
  if (!vertical || !horizontal) return std::nullopt;
  return PrintAdjustment{*vertical, *horizontal};
}

bool TakeAdjustment(QStringList& args, PrintAdjustment* adjustment) {
  const std::optional<QString> text = TakeOption(args, QStringLiteral("--adjust"));
  if (!text) return true;
  const std::optional<PrintAdjustment> parsed = ParseAdjustmentPair(*text);
  if (!parsed) return false;
  *adjustment = *parsed;
  return true;
}

int Interrupted(const QString& command) {
  PrintError(QStringLiteral("vrdtool %1: interrupted; nothing written").arg(command));
  return kInterruptedExit;
}

int WriteOut(const QString& path, const QByteArray& pdf) {
  if (!WritePdfFile(path, pdf)) return Fail(QStringLiteral("vrdtool: %1: cannot write the file").arg(path));
  return kDone;
}

std::optional<StripDocument> OpenDocument(const QString& path) {
  std::optional<DataFileContent> content = LoadDataFile(path);
  if (!content) return std::nullopt;
  StripDocument document;
  document.SetLines(std::move(content->lines));
  return document;
}

}  // namespace

int RunPdf(const QStringList& arguments) {
  QStringList args = arguments;
  const QString usage = QStringLiteral("usage: vrdtool pdf FILE OUT.pdf [--strips LIST] [--adjust V,H]");
  const std::optional<QString> list = TakeOption(args, QStringLiteral("--strips"));
  PrintAdjustment adjustment;
  if (!TakeAdjustment(args, &adjustment)) return Fail(QStringLiteral("vrdtool pdf: --adjust wants V,H in millimetres"));
  if (args.size() != 2) return Fail(usage);
  std::optional<StripDocument> document = OpenDocument(args[0]);
  if (!document) return kFailed;
  QList<int> selection;  // 0-based list positions
  if (!list) {
    for (const StripRow& row : StripRowsOf(*document)) selection.append(row.number - 1);
  } else {
    const std::optional<QList<int>> numbers = ParseStripNumbers(*list);
    if (!numbers) return Fail(QStringLiteral("vrdtool pdf: --strips wants numbers like 1,3-5"));
    for (const int n : *numbers) {
      if (document->FindStrip(n) < 0) return Fail(QStringLiteral("%1: there is no strip %2").arg(args[0]).arg(n));
      selection.append(n - 1);
    }
  }
  if (selection.isEmpty()) return Fail(QStringLiteral("%1: there are no strips").arg(args[0]));

  TerminalProgress progress(QStringLiteral("vrdtool pdf: strip"));
  const StripCardsPdf pdf = RenderStripCardsPdf(*document, selection, adjustment, progress);
  progress.EndLine();
  if (progress.Interrupted()) return Interrupted(QStringLiteral("pdf"));
  for (const SkippedStrip& strip : pdf.skipped) {
    PrintError(QStringLiteral("%1: strip %2 skipped: %3").arg(args[0]).arg(strip.number).arg(strip.reason));
  }
  if (pdf.pages == 0) {
    PrintError(QStringLiteral("%1: no strip could be drawn; nothing written").arg(args[0]));
    return kSkipped;
  }
  const int written = WriteOut(args[1], pdf.pdf);
  if (written != kDone) return written;
  return pdf.skipped.isEmpty() ? kDone : kSkipped;
}

int RunListPdf(const QStringList& arguments) {
  QStringList args = arguments;
  if (args.size() != 2) return Fail(QStringLiteral("usage: vrdtool list-pdf FILE OUT.pdf"));
  std::optional<StripDocument> document = OpenDocument(args[0]);
  if (!document) return kFailed;
  TerminalProgress progress(QStringLiteral("vrdtool list-pdf: page"));
  const QByteArray pdf =
      RenderStripListPdf(BuildListRows(StripRowsOf(*document)), QDateTime::currentDateTime(), progress);
  progress.EndLine();
  if (progress.Interrupted()) return Interrupted(QStringLiteral("list-pdf"));
  return WriteOut(args[1], pdf);
}

int RunCalibration(const QStringList& arguments) {
  QStringList args = arguments;
  const QString usage = QStringLiteral("usage: vrdtool calibration OUT.pdf --paper A5|A4|B5 [--adjust V,H]");
  const std::optional<QString> paperName = TakeOption(args, QStringLiteral("--paper"));
  PrintAdjustment adjustment;
  if (!TakeAdjustment(args, &adjustment)) return Fail(QStringLiteral("vrdtool calibration: --adjust wants V,H in millimetres"));
  if (args.size() != 1 || !paperName) return Fail(usage);
  const std::optional<CalibrationPaper> paper = CalibrationPaperNamed(*paperName);
  if (!paper) return Fail(QStringLiteral("vrdtool calibration: the paper is A5, A4 or B5"));
  return WriteOut(args[0], RenderCalibrationPdf(*paper, adjustment));
}
