#pragma once
// The test strip of a template being designed: a strip of the type with
// empty keys, drawn as a strip card is (the fixed keys' texts) with every
// key outline as a thin line, at true size and shifted by the print
// adjustment, so that it can be held against the telephone.

#include <QByteArray>
#include <QString>

#include "document/StripTemplate.h"
#include "print/CardPrint.h"

class PrintSystem;

inline constexpr char kTestStripJobTitle[] = "テスト印刷";
inline constexpr double kTestOutlineMm = 0.1;  // the width of an outline line

// The series a test strip is made for: the first the title names (Ｔｅ when none).
QByteArray TestStripSeries(const StripTemplate& model);
// The card paper of the type (9 A4, 11 A5, 13 B5).
int TestStripPaperCode(const StripTemplate& model, const QString& stripType);

// Draws the test strip on a canvas lying at `canvas` from the paper corner.
// DocumentError when the template cannot make a strip.
void DrawTestStrip(QPainter& painter, const CardCanvas& canvas, const StripTemplate& model, const QString& stripType,
                   const PrintAdjustment& adjustment);
// The test strip as a one-page PDF on its card paper; empty when it cannot be drawn.
QByteArray RenderTestStripPdf(const StripTemplate& model, const QString& stripType, const PrintAdjustment& adjustment);
// Prints it as one job on the current printer; false when the printer failed.
bool PrintTestStrip(PrintSystem& system, const StripTemplate& model, const QString& stripType,
                    const PrintAdjustment& adjustment);
