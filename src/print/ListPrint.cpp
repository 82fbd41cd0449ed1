#include "print/ListPrint.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "base/PrintSystem.h"
#include "base/ShiftJis.h"

namespace {

QFont ListFont(const char* family, int points, bool bold = false, bool italic = false) {
  QFont font(QString::fromUtf8(family));
  font.setPointSize(points);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}
QFont Gothic10(bool bold = false) { return ListFont("ＭＳ ゴシック", 10, bold); }

int RulePenWidth(int i) {
  if (i == 0 || i == kListRules - 1) return 4;
  if (i == 10 || i == 20) return 2;
  return 1;
}

}  // namespace

std::vector<ListRow> BuildListRows(const QList<StripRow>& rows) {
  std::vector<ListRow> out;
  out.reserve(rows.size());
  for (const StripRow& row : rows) {
    const auto fields = row.Fields();
    ListRow texts;
    for (int c = 0; c < StripRow::kColumnCount; ++c) texts[c] = CutToBytes(*fields[c], kListColumns[c].width);
    out.push_back(std::move(texts));
  }
  return out;
}

int ListPageCount(int strips) {
  const int pages = strips / kListRowsPerPage + (strips % kListRowsPerPage ? 1 : 0);
  return std::max(1, pages);
}

ListMetrics MeasureListMetrics(QPaintDevice* device) {
  const QFontMetrics metrics(ListFont("ＭＳ Ｐゴシック", 9), device);
  // The text height of a one-line text is the font's height, whatever the letters.
  return {metrics.horizontalAdvance(QLatin1Char('A')) * 100 / 120, metrics.height() * 150 / 100};
}

void DrawPitched(QPainter& canvas, const QByteArray& text, int x, int y, int pitch) {
  const int baseline = y + canvas.fontMetrics().ascent();
  for (qsizetype i = 0; i < text.size();) {
    const int width = sjis::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    canvas.drawText(QPoint(x + static_cast<int>(i) * pitch, baseline), sjis::Decode(text.mid(i, width)));
    i += width;
  }
}

QString ListPageNumberText(int page, int pageCount) {
  return QStringLiteral("%1 / %2 ページ").arg(page).arg(pageCount);
}

QString ListDateText(const QDateTime& now) {
  return now.toString(QStringLiteral("yyyy")) + QStringLiteral("年") + now.toString(QStringLiteral("M")) +
         QStringLiteral("月") + now.toString(QStringLiteral("d")) + QStringLiteral("日 ") +
         now.toString(QStringLiteral("hh:mm"));
}

void DrawListPage(QPainter& canvas, const std::vector<ListRow>& rows, int page, const QDateTime& now) {
  const ListMetrics m = MeasureListMetrics(canvas.device());
  const int c = m.pitch, h = m.rowHeight;
  const int x0 = 6 * c, y0 = 3 * h;
  const int pageCount = ListPageCount(static_cast<int>(rows.size()));
  canvas.save();
  canvas.setBrush(Qt::white);
  canvas.setPen(Qt::black);

  canvas.setFont(ListFont("ＭＳ ゴシック", 18, true, true));
  canvas.drawText(QPoint(x0, y0 + canvas.fontMetrics().ascent()), QStringLiteral("示名条一覧"));

  canvas.setFont(Gothic10());
  DrawPitched(canvas, sjis::Encode(ListPageNumberText(page, pageCount)), x0 + 142 * c, y0, c);

  canvas.setFont(Gothic10(true));
  for (const ListColumn& column : kListColumns) {
    DrawPitched(canvas, sjis::Encode(QString::fromUtf8(column.heading)), x0 + c * column.left, y0 + 3 * h, c);
  }

  for (int i = 0; i < kListRules; ++i) {
    const int y = static_cast<int>((y0 + 4 * h + i * h) - 0.1 * h);
    canvas.setPen(QPen(Qt::black, RulePenWidth(i), Qt::SolidLine, Qt::FlatCap));
    canvas.drawLine(x0, y, x0 + 163 * c, y);
  }

  canvas.setPen(Qt::black);
  canvas.setFont(Gothic10());
  const size_t first = static_cast<size_t>(std::max(0, (page - 1) * kListRowsPerPage));
  const size_t last = std::min(rows.size(), static_cast<size_t>(page) * kListRowsPerPage);
  int y = y0 + 4 * h;
  for (size_t r = first; r < last; ++r, y += h) {
    for (int col = 0; col < StripRow::kColumnCount; ++col) {
      DrawPitched(canvas, rows[r][col], x0 + c * kListColumns[col].left, y, c);
    }
  }

  DrawPitched(canvas, sjis::Encode(ListDateText(now)), x0, y0 + 35 * h, c);
  canvas.restore();
}

QList<int> ListJobPages(int pageCount, const PrintChoice& choice) {
  int first = 1, last = pageCount;
  if (choice.fromPage > 0) {
    first = std::clamp(choice.fromPage, 1, pageCount);
    last = std::clamp(std::max(choice.toPage, first), first, pageCount);
  }
  const int copies = std::max(1, choice.copies);
  const int outer = choice.collate ? copies : 1;
  const int inner = choice.collate ? 1 : copies;
  QList<int> pages;
  for (int pass = 0; pass < outer; ++pass) {
    for (int p = first; p <= last; ++p) {
      for (int k = 0; k < inner; ++k) pages.append(p);
    }
  }
  return pages;
}

ListPrintResult PrintStripList(PrintSystem& system, const std::vector<ListRow>& rows, const PrintChoice& choice,
                               const QDateTime& now, Progress& progress) {
  const QList<int> pages = ListJobPages(ListPageCount(static_cast<int>(rows.size())), choice);
  ListPrintResult result;
  result.pageCount = static_cast<int>(pages.size());
  if (!progress.Report(0, result.pageCount)) {
    result.stop = ListPrintResult::kCancelled;
    return result;
  }
  SetPaperSize(system, 9);
  std::unique_ptr<PrintJob> job = system.BeginJob(QString::fromUtf8(kListPrintJobTitle), QPageLayout::Landscape);
  if (!job) {
    result.stop = ListPrintResult::kPrinterFailed;
    return result;
  }
  int drawn = 0;
  for (; drawn < result.pageCount; ++drawn) {
    if (drawn > 0 && !progress.Report(drawn, result.pageCount)) {
      result.stop = ListPrintResult::kCancelled;
      break;
    }
    if (drawn > 0 && !job->NewPage()) {
      result.stop = ListPrintResult::kPrinterFailed;
      return result;
    }
    DrawListPage(job->Canvas(), rows, pages[drawn], now);
  }
  if (!job->End()) {
    result.stop = ListPrintResult::kPrinterFailed;
    return result;
  }
  result.pagesSent = drawn;
  progress.Report(drawn, result.pageCount);
  return result;
}
