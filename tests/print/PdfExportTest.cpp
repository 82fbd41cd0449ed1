// PDF export through vrdtool and in process: pages on their papers, every
// key text where its millimetres say (within 0.1 mm, read back with
// pdftotext -bbox), the list pages, the calibration sheet's marks within
// 0.05 mm, and the exit codes and files of bad input.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CardSamples.h"
#include "CupsPdf.h"
#include "base/LineIO.h"
#include "base/PrintSystem.h"
#include "base/ShiftJis.h"
#include "document/DataFile.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"
#include "print/Calibration.h"
#include "print/PdfExport.h"
#include "support/RunVrdtool.h"
#include "support/TestFiles.h"
#include "view/KeyText.h"

namespace {

constexpr double kTextToleranceMm = 0.1;
constexpr double kMarkToleranceMm = 0.05;
// Qt writes page sizes in whole points: within half a point of the paper.
constexpr double kPaperToleranceMm = 0.2;

const QString kSample = QStringLiteral(SOURCE_DIR "/samples/sample.VRD");

StripDocument LoadSample() {
  StripDocument document;
  document.SetLines(ReadDataFile(kSample).lines);
  return document;
}

QSizeF PaperMm(int paperCode) {
  return QPageSize(PageSizeOfPaperCode(paperCode)).size(QPageSize::Millimeter);
}

// Each key line's words, joined, checked against the line's place: the top
// and bottom of its line slot and the edge (or centre) its alignment gives.
void ExpectKeyTextsWhereTheirMillimetresSay(const QString& pdf, const StripDocument& document, int position,
                                            const PrintAdjustment& adjustment) {
  const Lines& lines = document.lines();
  const qsizetype start = CardStripStart(document, position);
  const CardCanvas mm{Decimal4(), Decimal4(), Decimal4::FromInt(1), Decimal4::FromInt(1)};
  const QList<PdfWord> words = PdfWords(pdf, position + 1);
  int checked = 0;
  for (const CardKey& key : PlanStripCard(lines, start, mm, adjustment)) {
    const KeyTextFormat format = ReadKeyTextFormat(lines, key.blockLine);
    if (format.hasPicture) continue;
    const QRectF box(QPointF(key.text.left.ToDouble(), key.text.top.ToDouble()),
                     QPointF(key.text.right.ToDouble(), key.text.bottom.ToDouble()));
    const double lineMm = PointsToPixels(key.pointSize, kPdfDpi) * 25.4 / kPdfDpi;
    const double pad = (box.height() - lineMm * format.text.size()) / 2;
    for (qsizetype i = 0; i < format.text.size(); ++i) {
      const QString text = sjis::Decode(format.text[i]);
      const QRectF slot(box.left(), box.top() + pad + i * lineMm, box.width(), lineMm);
      if (text.trimmed().isEmpty() || text.trimmed() != text || !box.contains(slot)) continue;
      QRectF found;
      QString joined;
      for (const PdfWord& w : words) {
        if (!slot.contains(w.mm.center())) continue;
        found = found.isNull() ? w.mm : found.united(w.mm);
        joined += w.text;
      }
      SCOPED_TRACE(text.toStdString());
      ASSERT_EQ(joined, QString(text).remove(QLatin1Char(' ')));
      if (found.width() > box.width()) continue;  // wider than its box: centred over the edges
      EXPECT_NEAR(found.top(), slot.top(), kTextToleranceMm);
      EXPECT_NEAR(found.bottom(), slot.bottom(), kTextToleranceMm);
      const double edge = format.alignment == 1 ? found.left() - box.left()
                        : format.alignment == 3 ? found.right() - box.right()
                                                : found.center().x() - box.center().x();
      EXPECT_NEAR(edge, 0, kTextToleranceMm) << "alignment " << format.alignment;
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

struct PdfExportTest : ::testing::Test {
  QTemporaryDir dir;
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

}  // namespace

TEST_F(PdfExportTest, EverySampleStripOnItsPaperWithItsKeyTextsAtTheirMillimetres) {
  const StripDocument document = LoadSample();
  const int strips = document.StripCount();
  ASSERT_EQ(strips, 6);
  struct Run {
    QStringList extra;
    PrintAdjustment adjustment;
  };
  const Run runs[] = {{{}, {}},
                      {{QStringLiteral("--adjust"), QStringLiteral("1.5,-2")},
                       {Decimal4::FromDouble(1.5), Decimal4::FromInt(-2)}}};
  for (const Run& run : runs) {
    const QString out = Path("sample.pdf");
    const VrdtoolRun tool = RunVrdtool(QStringList{QStringLiteral("pdf"), kSample, out} + run.extra);
    ASSERT_EQ(tool.exitCode, 0) << tool.Err().toStdString();
    const QList<QSizeF> sizes = PdfPageSizesMm(out);
    ASSERT_EQ(sizes.size(), strips);
    for (int p = 0; p < strips; ++p) {
      SCOPED_TRACE(p + 1);
      const qsizetype start = CardStripStart(document, p);
      const CardFormat format =
          CardFormatFor(document.lines()[start + layout::kSeriesName], document.lines()[start + layout::kStripType]);
      EXPECT_NEAR(sizes[p].width(), PaperMm(format.paperCode).width(), kPaperToleranceMm);
      EXPECT_NEAR(sizes[p].height(), PaperMm(format.paperCode).height(), kPaperToleranceMm);
      ExpectKeyTextsWhereTheirMillimetresSay(out, document, p, run.adjustment);
    }
  }
  // A5, A4 and JIS B5 in one file; fonts embedded.
  const QString fonts = RunPoppler(QStringLiteral("pdffonts"), {Path("sample.pdf")});
  const QStringList fontLines = fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
  ASSERT_FALSE(fontLines.isEmpty());
  for (const QString& line : fontLines) EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << line.toStdString();
}

TEST_F(PdfExportTest, SelectedStripsInTheirOrderAndBackgroundsFromThePageCorner) {
  const QString out = Path("some.pdf");
  const VrdtoolRun tool = RunVrdtool({QStringLiteral("pdf"), kSample, out, QStringLiteral("--strips"),
                                      QStringLiteral("5,1-2")});
  ASSERT_EQ(tool.exitCode, 0) << tool.Err().toStdString();
  const QList<QSizeF> sizes = PdfPageSizesMm(out);
  ASSERT_EQ(sizes.size(), 3);
  EXPECT_NEAR(sizes[0].width(), 182, kPaperToleranceMm);  // strip 5 on B5 first
  EXPECT_NEAR(sizes[1].width(), 148, kPaperToleranceMm);

  // Filled text boxes land at their millimetres on a 600 dpi rendering.
  TestKey key = BoxKey("2", "4", "30", "8", 128 | 128 << 8 | 128 << 16, {QByteArray("K1")});
  const StripCardsPdf pdf = RenderStripCardsPdf(DocumentOf({BoxStrip({key})}), {0},
                                                {Decimal4::FromInt(1), Decimal4::FromDouble(0.5)});
  ASSERT_EQ(pdf.pages, 1);
  ASSERT_TRUE(WritePdfFile(Path("box.pdf"), pdf.pdf));
  const QRectF box = GreyBoxMm(PdfPageGrey(Path("box.pdf"), 1, 600), 128, 600);
  EXPECT_NEAR(box.left(), 12.5, kTextToleranceMm);
  EXPECT_NEAR(box.top(), 25, kTextToleranceMm);
  EXPECT_NEAR(box.width(), 30, kTextToleranceMm);
  EXPECT_NEAR(box.height(), 8, kTextToleranceMm);
}

TEST_F(PdfExportTest, TheListOnA4LandscapeEveryPage) {
  QList<TestStrip> strips;
  for (int i = 0; i < 31; ++i) {
    TestStrip strip;
    strip.extension = QByteArray::number(201 + i);
    strips.append(strip);
  }
  const QString data = Path("list.VRD");
  ASSERT_TRUE(WriteLinesFile(data, DocumentLines(strips)));
  const VrdtoolRun tool = RunVrdtool({QStringLiteral("list-pdf"), data, Path("list.pdf")});
  ASSERT_EQ(tool.exitCode, 0) << tool.Err().toStdString();
  const QList<QSizeF> sizes = PdfPageSizesMm(Path("list.pdf"));
  ASSERT_EQ(sizes.size(), 2);
  for (const QSizeF& size : sizes) {
    EXPECT_NEAR(size.width(), 297, kPaperToleranceMm);
    EXPECT_NEAR(size.height(), 210, kPaperToleranceMm);
  }
  const auto texts = [&](int page) {
    QStringList out;
    for (const PdfWord& w : PdfWords(Path("list.pdf"), page)) out << w.text;
    return out;
  };
  EXPECT_TRUE(texts(1).contains(QStringLiteral("示名条一覧")));
  EXPECT_TRUE(texts(1).contains(QStringLiteral("230")));
  EXPECT_FALSE(texts(1).contains(QStringLiteral("231")));
  EXPECT_TRUE(texts(2).contains(QStringLiteral("231")));
}

TEST_F(PdfExportTest, CalibrationMarksAtTheirNominalMillimetres) {
  constexpr int kDpi = 2400;  // a pixel is about 0.01 mm
  const QString papers[] = {QStringLiteral("A5"), QStringLiteral("A4"), QStringLiteral("B5")};
  const double down = 1.5, right = -2;
  for (const QString& name : papers) {
    SCOPED_TRACE(name.toStdString());
    const QString out = Path("cal.pdf");
    const VrdtoolRun tool = RunVrdtool({QStringLiteral("calibration"), out, QStringLiteral("--paper"), name,
                                        QStringLiteral("--adjust"), QStringLiteral("1.5,-2")});
    ASSERT_EQ(tool.exitCode, 0) << tool.Err().toStdString();
    const CalibrationPaper paper = *CalibrationPaperNamed(name);
    const QList<QSizeF> sizes = PdfPageSizesMm(out);
    ASSERT_EQ(sizes.size(), 1);
    EXPECT_NEAR(sizes[0].width(), paper.sizeMm.width(), kPaperToleranceMm);
    EXPECT_NEAR(sizes[0].height(), paper.sizeMm.height(), kPaperToleranceMm);
    // Each crosshair: the darkness-weighted centre of its arms, 2 to 5 mm
    // from the centre (clear of the label), in a region around it.
    for (const QPointF& c : CalibrationCrosshairs(paper)) {
      const QPointF at(c.x() + right, c.y() + down);
      const QRect region(int((at.x() - 6) / 25.4 * kDpi), int((at.y() - 6) / 25.4 * kDpi), int(12 / 25.4 * kDpi),
                         int(12 / 25.4 * kDpi));
      const QImage image = PdfRegionGrey(out, 1, kDpi, region);
      ASSERT_FALSE(image.isNull());
      double sumX = 0, weightX = 0, sumY = 0, weightY = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          const double ink = 255 - image.constScanLine(y)[x];
          const double dx = (region.left() + x + 0.5) * 25.4 / kDpi - at.x();
          const double dy = (region.top() + y + 0.5) * 25.4 / kDpi - at.y();
          if (std::abs(dy) > 2 && std::abs(dy) < 5 && dy < 0) sumX += ink * (dx + at.x()), weightX += ink;
          if (std::abs(dx) > 2 && std::abs(dx) < 5 && dx < 0) sumY += ink * (dy + at.y()), weightY += ink;
        }
      }
      ASSERT_GT(weightX, 0);
      ASSERT_GT(weightY, 0);
      EXPECT_NEAR(sumX / weightX, at.x(), kMarkToleranceMm);
      EXPECT_NEAR(sumY / weightY, at.y(), kMarkToleranceMm);
    }
  }
  const QString text = RunPoppler(QStringLiteral("pdftotext"), {Path("cal.pdf"), QStringLiteral("-")});
  EXPECT_TRUE(text.contains(QStringLiteral("定規")));
  EXPECT_TRUE(text.contains(QStringLiteral("縦方向 1.5 mm／横方向 -2.0 mm")));
}

TEST_F(PdfExportTest, BadInputGivesItsExitCodeAndNoPartialFile) {
  // Strip 2 of three has a group count that is no number.
  QList<TestStrip> strips(3);
  Lines lines = DocumentLines(strips);
  StripDocument document;
  document.SetLines(lines);
  const qsizetype second = document.FindStrip(2) + 1;
  lines[second + layout::kGroupCount] = "x";
  const QString damaged = Path("damaged.VRD");
  ASSERT_TRUE(WriteLinesFile(damaged, lines));

  const VrdtoolRun skipped = RunVrdtool({QStringLiteral("pdf"), damaged, Path("out.pdf")});
  EXPECT_EQ(skipped.exitCode, 1);
  EXPECT_TRUE(skipped.Err().contains(QStringLiteral("strip 2 skipped"))) << skipped.Err().toStdString();
  EXPECT_EQ(PdfPageSizesMm(Path("out.pdf")).size(), 2);

  struct Row {
    QStringList args;
    int exitCode;
    const char* file;  // that must not exist afterwards
  };
  const Row rows[] = {
      {{QStringLiteral("pdf"), kSample, Path("a.pdf"), QStringLiteral("--strips"), QStringLiteral("7")}, 2, "a.pdf"},
      {{QStringLiteral("pdf"), kSample, Path("b.pdf"), QStringLiteral("--strips"), QStringLiteral("0")}, 2, "b.pdf"},
      {{QStringLiteral("pdf"), kSample, Path("c.pdf"), QStringLiteral("--strips"), QStringLiteral("3-1")}, 2, "c.pdf"},
      {{QStringLiteral("pdf"), kSample, Path("d.pdf"), QStringLiteral("--adjust"), QStringLiteral("1")}, 2, "d.pdf"},
      {{QStringLiteral("pdf"), kSample, Path("missing/e.pdf")}, 2, "missing"},
      {{QStringLiteral("list-pdf"), kSample, Path("missing/f.pdf")}, 2, "missing"},
      {{QStringLiteral("calibration"), Path("missing/g.pdf"), QStringLiteral("--paper"), QStringLiteral("A4")}, 2, "missing"},
      {{QStringLiteral("calibration"), Path("h.pdf"), QStringLiteral("--paper"), QStringLiteral("B4")}, 2, "h.pdf"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args.join(' ').toStdString());
    const VrdtoolRun run = RunVrdtool(row.args);
    EXPECT_EQ(run.exitCode, row.exitCode);
    EXPECT_FALSE(run.Err().isEmpty());
    EXPECT_FALSE(QFile::exists(Path(row.file)));
  }
  // A folder where the file should go: nothing written over it, no leftovers.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.pdf")));
  EXPECT_EQ(RunVrdtool({QStringLiteral("pdf"), kSample, Path("taken.pdf")}).exitCode, 2);
  EXPECT_TRUE(QDir(Path("taken.pdf")).isEmpty());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // damaged.VRD, out.pdf
}

TEST_F(PdfExportTest, VrdtoolShowsProgressOnlyOnATerminalAndCtrlCWritesNothing) {
  const QString data = Path("many.VRD");
  ASSERT_TRUE(WriteLinesFile(data, DocumentLines(QList<TestStrip>(3000))));
  for (const QString& command : {QStringLiteral("pdf"), QStringLiteral("list-pdf")}) {
    SCOPED_TRACE(command.toStdString());
    const QString out = dir.filePath(command + QStringLiteral(".pdf"));
    const VrdtoolRun stopped = RunVrdtoolOnTerminal({command, data, out}, " / ");
    EXPECT_EQ(stopped.exitCode, 130);
    EXPECT_TRUE(stopped.Err().contains(QStringLiteral("\rvrdtool %1: %2 0 / ")
                                           .arg(command, command == QLatin1String("pdf") ? "strip" : "page")))
        << stopped.err.toStdString();
    EXPECT_TRUE(stopped.Err().contains(QStringLiteral("vrdtool %1: interrupted; nothing written").arg(command)));
    EXPECT_FALSE(QFile::exists(out));

    const VrdtoolRun piped = RunVrdtool({command, kSample, out});
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_TRUE(piped.err.isEmpty()) << piped.err.toStdString();
    EXPECT_TRUE(QFile::exists(out));
  }
  // Nothing else was left in the folder: no temporary file of a stopped write.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}
