#pragma once
// The calibration sheet: crosshairs and millimetre rulers at known
// distances from the paper's top-left corner, with a Japanese note on how
// to read them. Printed with the adjustment offsets, it shows how far the
// printer still shifts the print: the user measures a crosshair from the
// paper edges with a ruler and corrects the offsets by the difference.

#include <QByteArray>
#include <QRectF>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

#include "print/CardPrint.h"

class QPainter;
class PrintSystem;
class StripDocument;

// A paper of the sheet by its paper code (9 A4, 11 A5, 13 JIS B5).
struct CalibrationPaper {
  int paperCode = 9;
  QString name;   // "A4"
  QSizeF sizeMm;  // portrait
};
// The papers of the sheet: A5, A4 and B5, in that order.
const std::vector<CalibrationPaper>& CalibrationPapers();
// "A5", "A4" or "B5" (JIS); nothing for any other name.
std::optional<CalibrationPaper> CalibrationPaperNamed(const QString& name);
// The sheet's paper for a printer's paper: A5 and JIS B5 as they are,
// anything else A4.
CalibrationPaper CalibrationPaperOf(QPageSize::PageSizeId paper);
// The paper strip `number` prints on (its card format's), A4 when there is
// no such strip.
CalibrationPaper CalibrationPaperOfStrip(const StripDocument& document, int number);

// One straight mark of the sheet, in millimetres from the paper corner
// before the adjustment.
struct CalibrationLine {
  double x1, y1, x2, y2;
};
inline constexpr double kCalibrationLineMm = 0.1;  // the width of every mark
inline constexpr double kCrosshairInsetMm = 20;    // crosshair centres from the nearest edges

// The crosshair centres: 20 mm in from both edges at each corner.
std::vector<QPointF> CalibrationCrosshairs(const CalibrationPaper& paper);
// Every line of the sheet: the crosshairs and the ticks of both rulers.
std::vector<CalibrationLine> CalibrationLines(const CalibrationPaper& paper);

// One text of the sheet: the ruler numbers, the crosshair distances, the
// heading and the note. Each stands clear of every line.
struct CalibrationLabel {
  QString text;
  QRectF boxMm;  // before the adjustment
  Qt::Alignment alignment;
  int points = 7;
  bool bold = false;
  bool wrap = false;
};
std::vector<CalibrationLabel> CalibrationLabels(const CalibrationPaper& paper, const PrintAdjustment& adjustment);

// Draws the sheet on a canvas that lies at `canvas` from the paper corner,
// every mark shifted by the adjustment as strip cards are: the lines, then
// the labels.
void DrawCalibrationSheet(QPainter& painter, const CardCanvas& canvas, const CalibrationPaper& paper,
                          const PrintAdjustment& adjustment);
void DrawCalibrationLines(QPainter& painter, const CardCanvas& canvas, const CalibrationPaper& paper,
                          const PrintAdjustment& adjustment);
void DrawCalibrationLabel(QPainter& painter, const CardCanvas& canvas, const CalibrationLabel& label,
                          const PrintAdjustment& adjustment);

// The sheet as a one-page PDF at true size.
QByteArray RenderCalibrationPdf(const CalibrationPaper& paper, const PrintAdjustment& adjustment);

inline constexpr char kCalibrationJobTitle[] = "テスト印刷";

// Prints the sheet as one job on the current printer and that paper;
// false when the printer failed.
bool PrintCalibrationSheet(PrintSystem& system, const CalibrationPaper& paper,
                           const PrintAdjustment& adjustment);
