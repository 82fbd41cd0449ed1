#pragma once
// Strip cards: one strip per sheet at true size, for the preview image and
// the printer alike. Only what carries print is drawn: each key's text area
// in its background colour with its text lines, or its picture. Positions
// are millimetres from the paper's top-left corner, shifted by the print
// adjustment, computed in Decimal4 and truncated to whole pixels.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <vector>

#include "base/Decimal4.h"
#include "base/Progress.h"
#include "view/StripGeometry.h"

class QPainter;
class PrintSystem;
class StripDocument;
struct PrintChoice;

// The shift the user set in the print adjustment dialog, in millimetres:
// positive vertical moves print down, positive horizontal right.
struct PrintAdjustment {
  Decimal4 vertical;
  Decimal4 horizontal;
};

// One row of the sheet table for cards.
struct CardFormat {
  Decimal4 sheetWidth, sheetHeight;  // millimetres
  Decimal4 imageWidth, imageHeight;  // preview image, fractional pixels
  int paperCode = 0;                 // 9 A4, 11 A5, 13 B5 (182 x 257)

  Decimal4 PreviewScaleX() const { return imageWidth / sheetWidth; }
  Decimal4 PreviewScaleY() const { return imageHeight / sheetHeight; }
  // The preview image's size: the fractions truncated.
  QSize ImageSize() const { return QSize(imageWidth.ToInt(), imageHeight.ToInt()); }
};

// The first row whose condition holds for the strip's series name and type.
CardFormat CardFormatFor(const QByteArray& seriesName, const QByteArray& stripType);

// Where the canvas lies and how large a millimetre is on it.
struct CardCanvas {
  Decimal4 offsetY, offsetX;  // canvas origin from the paper corner, device pixels
  Decimal4 scaleY, scaleX;    // pixels per millimetre
};

// Pixels per millimetre at a resolution: dpi x 1/25.4 as a Decimal4.
Decimal4 ScaleOfDpi(int dpi);

// One key as it lands on the card.
struct CardKey {
  qsizetype blockLine = 0;  // document line of the key block
  bool hasPicture = false;  // the picture covers the whole text area
  DecimalRect picture{};    // the picture's rectangle (picture keys only)
  DecimalRect text{};       // the text box; no width for a picture key
  int pointSize = 0;        // line 20, unchanged
};

// Every key of the strip starting at `stripStart`, in document order. Reads
// every line drawing needs, so drawing the plan cannot fail. DocumentError
// for a damaged line.
std::vector<CardKey> PlanStripCard(const Lines& lines, qsizetype stripStart, const CardCanvas& canvas,
                                   const PrintAdjustment& adjustment);

// Draws one planned key: its picture stretched over the text area, or its
// text through DrawKeyText at the canvas' own resolution.
void DrawCardKey(QPainter& canvas, const Lines& lines, const CardKey& key);

// Draws the strip starting at `stripStart`; the adjustment shifts every key.
// DocumentError as PlanStripCard (nothing is drawn then).
void DrawStripCard(QPainter& canvas, const Lines& lines, qsizetype stripStart,
                   const CardCanvas& target, const PrintAdjustment& adjustment);

// The strip start line (after the separator) of the strip at 0-based list
// position `position`, or -1 when its separator line is missing.
qsizetype CardStripStart(const StripDocument& document, int position);

// The preview page of the strip at `position`: a white image of the
// format's size at screen resolution with the card drawn at the preview
// scales, drawn at `devicePixelRatio` device pixels per pixel (the
// screen's, so that a 200 % desktop shows it sharp). A null image when the
// strip's separator line is missing. DocumentError for a damaged strip.
QImage RenderCardPreview(const StripDocument& document, int position,
                         const PrintAdjustment& adjustment, qreal devicePixelRatio = 1);

// The jobs of a card print: which selection item each job prints and how
// many pages it has. Collated: `copies` passes over the selection, one page
// a job; otherwise one job per item with `copies` pages.
struct CardJob {
  int item = 0;
  int pages = 1;
};
std::vector<CardJob> PlanCardJobs(int items, int copies, bool collate);

inline constexpr char kCardJobTitle[] = "示名条印刷";
// The title of the print job of one strip, so that the jobs can be told
// apart in the printer queue: "示名条 0201 山田", the extension number and
// the user name as the strip header holds them (a blank one left out).
QString CardJobTitle(const Lines& lines, qsizetype stripStart);

// How a card print ended.
struct CardPrintResult {
  enum Stop { kDone, kMissingStrip, kDamagedStrip, kPrinterFailed, kCancelled };
  int jobsSent = 0;
  int jobCount = 0;   // the jobs the print was to send
  Stop stop = kDone;  // the jobs sent before a stop stay sent
  QString damage;     // what is wrong with a damaged strip
};

// Prints the selection (0-based list positions) as PlanCardJobs says, each
// job on the paper of its strip's sheet format, portrait. Reports before
// each job; stopped there, the jobs sent stay sent.
CardPrintResult PrintStripCards(PrintSystem& system, const StripDocument& document,
                                const QList<int>& selection, const PrintChoice& choice,
                                const PrintAdjustment& adjustment, Progress& progress = NoProgress());
