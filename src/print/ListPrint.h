#pragma once
// The printed strip list: thirty strips a page in six columns of fixed
// character pitches, with title, page number, headings, rules and the date.
// One page routine draws the preview image and the printer's pages; every
// position is a multiple of the pitch and row height measured on the target.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <vector>

#include "base/Progress.h"
#include "document/StripRow.h"

class QPaintDevice;
class QPainter;
class PrintSystem;
struct PrintChoice;

inline constexpr int kListRowsPerPage = 30;
inline constexpr int kListRules = 31;

struct ListColumn {
  const char* heading;  // UTF-8
  int width;            // bytes, character pitches
  int left;             // character pitches from the left margin
};
inline constexpr std::array<ListColumn, StripRow::kColumnCount> kListColumns{{
    {"主装置のシリーズ", 25, 0},
    {"示名条のタイプ", 51, 25},
    {"内線番号", 14, 76},
    {"部署", 32, 90},
    {"使用者名", 20, 122},
    {"登録日時", 16, 142},
}};

// One strip's six texts (Shift_JIS), each cut to its column's width.
using ListRow = std::array<QByteArray, StripRow::kColumnCount>;
// Built once per show or print from the strip list as it is on screen.
std::vector<ListRow> BuildListRows(const QList<StripRow>& rows);

// Pages of a list: 30 strips a page, a partial page for the rest, at least 1.
int ListPageCount(int strips);

// The character pitch and row height of the target, in device pixels: the
// width of "A" x 100 / 120 and the height of "DUMMY" x 150 / 100 in
// "ＭＳ Ｐゴシック" 9 points.
struct ListMetrics {
  int pitch = 0;
  int rowHeight = 0;
};
ListMetrics MeasureListMetrics(QPaintDevice* device);

// Draws each character of a Shift_JIS text on its own: the character at
// byte index i (from 0) at x + i x pitch, so a double-byte character takes
// two pitches whatever the font's widths. y is the top of the text.
void DrawPitched(QPainter& canvas, const QByteArray& text, int x, int y, int pitch);

// "2 / 3 ページ" and the footer's "2017年3月5日 14:07".
QString ListPageNumberText(int page, int pageCount);
QString ListDateText(const QDateTime& now);

// Draws page `page` (from 1) of the list onto the canvas in the painter's
// device pixels.
void DrawListPage(QPainter& canvas, const std::vector<ListRow>& rows, int page, const QDateTime& now);

// The pages of one list print job in order: the dialog's range (or every
// page), collated as `copies` passes over it, otherwise each page `copies`
// times in a row.
QList<int> ListJobPages(int pageCount, const PrintChoice& choice);

inline constexpr char kListJobTitle[] = "示名条一覧印刷";
// The list's print job as the printer queue shows it.
inline constexpr char kListPrintJobTitle[] = "示名条一覧";

// How a list print ended. A stopped print still sends its one job with the
// pages drawn so far, unless it stopped before the job began.
struct ListPrintResult {
  enum Stop { kDone, kPrinterFailed, kCancelled };
  Stop stop = kDone;
  int pagesSent = 0;
  int pageCount = 0;  // the pages the job was to hold
};

// Prints the list as one A4 landscape job, reporting before each page.
ListPrintResult PrintStripList(PrintSystem& system, const std::vector<ListRow>& rows, const PrintChoice& choice,
                               const QDateTime& now, Progress& progress = NoProgress());
