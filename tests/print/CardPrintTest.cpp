// Strip cards on a recording print system at 254 dpi (10 pixels a
// millimetre): sheet formats and papers, where each text box lands, the
// adjustment, clipping, and the jobs of copies and collation.
#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

#include "CardSamples.h"
#include "base/PrintSystem.h"
#include "print/CardPrint.h"
#include "view/PictureCodec.h"
#include "support/FakePrintSystem.h"
#include "support/TestFiles.h"

namespace {

constexpr int kRed = 255, kBlue = 16711680, kGreen = 65280;  // Windows colour values
const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 255, 0);

// Group at 10, 20: a red box at +2, +4 (14 x 8) and a blue one at
// +20.5, +3.25 (10 x 5).
TestStrip TwoBoxStrip(int firstBack = kRed) {
  return BoxStrip({BoxKey("2", "4", "14", "8", firstBack), BoxKey("20.5", "3.25", "10", "5", kBlue)});
}

// Whether some pixel in the rectangle is neither the background nor white.
bool HasInk(const QImage& image, const QRect& rect, const QColor& back) {
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      const QRgb p = image.pixel(x, y) | 0xFF000000u;
      if (p != (back.rgb() | 0xFF000000u) && p != 0xFFFFFFFFu) return true;
    }
  }
  return false;
}

PrintChoice Copies(int copies, bool collate) {
  PrintChoice choice;
  choice.copies = copies;
  choice.collate = collate;
  return choice;
}

struct CardPrintTest : ::testing::Test {
  FakePrintSystem printer;

  CardPrintResult Print(const StripDocument& document, const QList<int>& selection,
                        PrintAdjustment adjustment = {}, PrintChoice choice = {}) {
    return PrintStripCards(printer, document, selection, choice, adjustment);
  }
  const QImage& Page(int job = 0, int page = 0) { return printer.jobs[job].pages[page]; }
};

}  // namespace

TEST_F(CardPrintTest, SheetFormatChoosesPaperPreviewSizeAndScales) {
  struct Row {
    const char* series;
    const char* type;
    int paperCode;
    QSize image;
    QPageSize::PageSizeId paper;
  } rows[] = {
      {"Ｔｅシリーズ主装置", "Ｔｅ標準", 11, {559, 793}, QPageSize::A5},
      {"Ｍｏシリーズ主装置", "Ｍｏ標準", 11, {559, 793}, QPageSize::A5},
      {"Ｋａシリーズ主装置", "標準Ｋａ２４", 11, {559, 793}, QPageSize::A5},
      {"Ｋａシリーズ主装置", "Ｋａ横４８", 9, {793, 559}, QPageSize::A4},
      {"Ｒｕシリーズ主装置", "Ｒｕ標準", 13, {688, 971}, QPageSize::JisB5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.series + std::string(" ") + row.type);
    const CardFormat format = CardFormatFor(Sj(row.series), Sj(row.type));
    EXPECT_EQ(format.paperCode, row.paperCode);
    EXPECT_EQ(format.ImageSize(), row.image);
    printer.jobs.clear();
    const StripDocument document = DocumentOf({BoxStrip({BoxKey("2", "4", "14", "8", kRed)}, row.series, row.type)});
    ASSERT_EQ(Print(document, {0}).stop, CardPrintResult::kDone);
    ASSERT_EQ(printer.jobs.size(), 1);
    EXPECT_EQ(printer.jobs[0].paper, row.paper);
    EXPECT_EQ(printer.jobs[0].orientation, QPageLayout::Portrait);
    EXPECT_EQ(printer.jobs[0].title, QStringLiteral("示名条 201"));
    // Placed from the paper corner on every paper: the landscape Ka sheet
    // sits in the top 148 mm of the portrait A4 page.
    EXPECT_EQ(BoxOfColour(Page(), red), QRect(120, 240, 140, 80));
  }
  const CardFormat a5 = CardFormatFor(Sj("Ｔｅシリーズ"), Sj("Ｔｅ標準"));
  EXPECT_EQ(a5.PreviewScaleX(), Decimal4::FromDouble(3.7797));
  // 793.4 / 210 = 3.77809...: a Decimal4 quotient truncates, as the views' scales do.
  EXPECT_EQ(a5.PreviewScaleY(), Decimal4::FromDouble(3.778));
  const CardFormat b5 = CardFormatFor(Sj("ＳＩＰ対応電話機"), QByteArray());
  EXPECT_EQ(b5.PreviewScaleX(), Decimal4::FromDouble(3.7802));
  EXPECT_EQ(b5.PreviewScaleY(), Decimal4::FromDouble(3.7782));
}

TEST_F(CardPrintTest, OnlyTheTextBoxesPrintAtTheirMillimetresFromThePaperCorner) {
  const StripDocument document = DocumentOf({TwoBoxStrip()});
  ASSERT_EQ(Print(document, {0}).jobsSent, 1);
  const QRect first = BoxOfColour(Page(), red), second = BoxOfColour(Page(), blue);
  EXPECT_EQ(first, QRect(120, 240, 140, 80));   // 12, 24 mm; 14 x 8 mm
  EXPECT_EQ(second, QRect(305, 232, 100, 50));  // 30.5, 23.25 mm: corners truncated
  // No key outline, number, group rectangle or frame.
  EXPECT_TRUE(WhiteOutside(Page(), {first, second}));

  // A canvas whose origin is not the paper corner: the offset is taken off.
  printer.jobs.clear();
  printer.canvasOrigin = QPoint(40, 30);
  Print(document, {0});
  EXPECT_EQ(BoxOfColour(Page(), red), QRect(80, 210, 140, 80));
}

TEST_F(CardPrintTest, AdjustmentMovesEveryBoxOnPaperAndInThePreview) {
  const StripDocument document = DocumentOf({TwoBoxStrip()});
  const PrintAdjustment down{Decimal4::FromDouble(1.5), Decimal4()};
  const PrintAdjustment left{Decimal4(), Decimal4::FromInt(-2)};
  Print(document, {0}, down);
  Print(document, {0}, left);
  EXPECT_EQ(BoxOfColour(Page(0), red), QRect(120, 255, 140, 80));
  EXPECT_EQ(BoxOfColour(Page(0), blue), QRect(305, 247, 100, 50));
  EXPECT_EQ(BoxOfColour(Page(1), red), QRect(100, 240, 140, 80));
  EXPECT_EQ(BoxOfColour(Page(1), blue), QRect(285, 232, 100, 50));

  // Preview scales 3.7797 x 3.778: 12 mm -> 45, 10 mm -> 37; 24 mm -> 90, 25.5 mm -> 96.
  const QImage plain = RenderCardPreview(document, 0, {});
  const QImage moved = RenderCardPreview(document, 0, {Decimal4::FromDouble(1.5), Decimal4::FromInt(-2)});
  ASSERT_EQ(plain.size(), QSize(559, 793));
  EXPECT_EQ(BoxOfColour(plain, red).topLeft(), QPoint(45, 90));
  EXPECT_EQ(BoxOfColour(moved, red).topLeft(), QPoint(37, 96));
  EXPECT_EQ(plain.dotsPerMeterY(), 3780);  // the key text is drawn at screen resolution
}

TEST_F(CardPrintTest, LinesBeyondTheBoxAreCutAtItsEdges) {
  // 12 points at 254 dpi are 42 pixels; the box is 80 high. Three lines
  // (126) overhang by 23 at each end, five lines put the first and the last
  // wholly outside.
  for (int count : {3, 5}) {
    SCOPED_TRACE(count);
    Lines text;
    for (int i = 0; i < count; ++i) text.append("WWWW");
    TestKey key = BoxKey("2", "4", "14", "8", kGreen, text);
    key.size = "12";
    printer.jobs.clear();
    Print(DocumentOf({BoxStrip({key})}), {0});
    const QRect box(120, 240, 140, 80);
    EXPECT_EQ(BoxOfColour(Page(), green), box);
    EXPECT_TRUE(WhiteOutside(Page(), {box}));
    // The text reaches the last rows of the box: the overhanging line is cut, not dropped.
    EXPECT_TRUE(HasInk(Page(), QRect(120, 312, 140, 8), green));
    EXPECT_TRUE(HasInk(Page(), QRect(120, 240, 140, 8), green));
  }
}

TEST_F(CardPrintTest, CopiesCollatedArePassesOfOnePageJobsUncollatedOneJobPerStrip) {
  const StripDocument document = DocumentOf({TwoBoxStrip(kRed), TwoBoxStrip(kGreen)});
  Print(document, {0, 1}, {}, Copies(3, true));
  ASSERT_EQ(printer.jobs.size(), 6);
  for (int j = 0; j < 6; ++j) {
    SCOPED_TRACE(j);
    EXPECT_EQ(printer.jobs[j].pageCount, 1);
    EXPECT_TRUE(BoxOfColour(Page(j), j % 2 == 0 ? red : green).isValid());  // 1, 2, 1, 2, 1, 2
  }
  printer.jobs.clear();
  Print(document, {0, 1}, {}, Copies(3, false));
  ASSERT_EQ(printer.jobs.size(), 2);
  for (int j = 0; j < 2; ++j) {
    ASSERT_EQ(printer.jobs[j].pageCount, 3);
    for (int p = 0; p < 3; ++p) EXPECT_TRUE(BoxOfColour(Page(j, p), j == 0 ? red : green).isValid());
  }
  EXPECT_EQ(PlanCardJobs(2, 0, false).size(), 2u);  // no copy count still prints once
}

TEST_F(CardPrintTest, MissingStripStopsDamagedStripAndPrinterFailureSendNothingMore) {
  printer.keepPages = false;
  const StripDocument document = DocumentOf({TwoBoxStrip()});
  CardPrintResult result = Print(document, {0, 4, 0});
  EXPECT_EQ(result.stop, CardPrintResult::kMissingStrip);
  EXPECT_EQ(result.jobsSent, 1);
  EXPECT_TRUE(RenderCardPreview(document, 4, {}).isNull());

  printer.jobs.clear();
  TestKey damaged = BoxKey("2", "4", "14", "8", kRed);
  damaged.textHeight = "eight";
  result = Print(DocumentOf({BoxStrip({damaged})}), {0});
  EXPECT_EQ(result.stop, CardPrintResult::kDamagedStrip);
  EXPECT_FALSE(result.damage.isEmpty());
  EXPECT_TRUE(printer.jobs.isEmpty());  // nothing was begun

  printer.failBegin = true;
  EXPECT_EQ(Print(document, {0}).stop, CardPrintResult::kPrinterFailed);
  printer.failBegin = false;
  printer.failEnd = true;
  EXPECT_EQ(Print(document, {0}).stop, CardPrintResult::kPrinterFailed);
}

TEST_F(CardPrintTest, SetPaperSizeResultCodes) {
  struct Row {
    std::optional<QList<QPageSize::PageSizeId>> offered;
    bool selectable;
    int code;
    int result;
    QPageSize::PageSizeId paperAfter;
  } rows[] = {
      {QList{QPageSize::A4, QPageSize::A5}, true, 11, kPaperSet, QPageSize::A5},
      {QList{QPageSize::A4}, true, 13, kPaperNotOffered, QPageSize::Letter},
      {QList{QPageSize::A4}, false, 9, kPaperNotSelectable, QPageSize::Letter},
      {QList<QPageSize::PageSizeId>{}, true, 9, kNoPapers, QPageSize::Letter},
      {std::nullopt, true, 9, kPaperQueryFailed, QPageSize::Letter},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.result);
    printer.paper = QPageSize::Letter;
    printer.papers[printer.printers[0]] = row.offered;
    printer.notSelectable = row.selectable ? QStringList() : printer.printers;
    EXPECT_EQ(SetPaperSize(printer, row.code), row.result);
    EXPECT_EQ(printer.paper, row.paperAfter);
  }
  printer.printers.clear();
  EXPECT_EQ(SetPaperSize(printer, 9), kPaperQueryFailed);
}

TEST_F(CardPrintTest, APictureKeyPrintsItsPictureOverTheWholeTextBox) {
  // A green picture on the first box (group 10, 20 + 2, 4: 14 x 8 mm), no text.
  QImage picture(28, 16, QImage::Format_RGB32);
  picture.fill(green);
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "BMP");
  TestStrip strip = TwoBoxStrip();
  strip.groups[0].keys[0].pictureKind = ".bmp";
  strip.groups[0].keys[0].pictureData = EncodePictureText(bmp);
  ASSERT_EQ(Print(DocumentOf({strip}), {0}).stop, CardPrintResult::kDone);
  EXPECT_EQ(BoxOfColour(Page(), green), QRect(120, 240, 140, 80));
  EXPECT_TRUE(BoxOfColour(Page(), red).isEmpty());  // the key's background does not show
  EXPECT_FALSE(BoxOfColour(Page(), blue).isEmpty());
}

// Each job carries its strip's extension number and user name, so that the
// jobs can be told apart in the printer queue.
TEST_F(CardPrintTest, EachJobIsTitledWithItsStrip) {
  const struct {
    const char* extension;
    const char* user;
    const char* title;
  } cases[] = {
      {"0201", "山田", "示名条 0201 山田"},
      {" 0202 ", "", "示名条 0202"},
      {"", "", "示名条"},
  };
  QList<TestStrip> strips;
  for (const auto& c : cases) {
    TestStrip strip = TwoBoxStrip(kRed);
    strip.extension = Sj(c.extension);
    strip.user = Sj(c.user);
    strips.append(strip);
  }
  const StripDocument document = DocumentOf(strips);
  Print(document, {0, 1, 2}, {}, Copies(1, true));
  ASSERT_EQ(printer.jobs.size(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(printer.jobs[i].title, QString::fromUtf8(cases[i].title));
}
