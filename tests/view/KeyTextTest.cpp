// DrawKeyText checked by pixels on images of known resolution. The expected
// images are drawn by hand from the positions worked out in each test: the
// line's top-left, its clip slice and the background.
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/KeyText.h"
#include "view/StripRenderer.h"

namespace {

constexpr int k600DotsPerMeter = 23622;  // 600 dots per inch
const QColor kYellow(255, 255, 0);

QImage Blank(QSize size, int dotsPerMeter = kScreenDotsPerMeter) {
  QImage image = NewScreenImage(size);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  return image;
}

QImage Drawn(const TestKey& key, QRect area, QSize size, int pointSize,
             int dotsPerMeter = kScreenDotsPerMeter) {
  QImage image = Blank(size, dotsPerMeter);
  QPainter painter(&image);
  DrawKeyText(painter, Decimal4::FromInt(area.left()), Decimal4::FromInt(area.top()),
              Decimal4::FromInt(area.left() + area.width()),
              Decimal4::FromInt(area.top() + area.height()), key.Block(), 0, pointSize);
  return image;
}

QFont Mincho(int pixels, bool bold = false, bool italic = false) {
  QFont font(QStringLiteral("ＭＳ 明朝"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

struct Piece {
  int x, y;  // top-left of the text cell
  QString text;
  QRect clip;
};

QImage Expected(QSize size, QRect area, const QColor& back, const QFont& font, const QColor& ink,
                const QList<Piece>& pieces, int dotsPerMeter = kScreenDotsPerMeter) {
  QImage image = Blank(size, dotsPerMeter);
  QPainter painter(&image);
  painter.fillRect(area, back);
  painter.setFont(font);
  painter.setPen(ink);
  for (const Piece& p : pieces) {
    painter.save();
    painter.setClipRect(p.clip);
    painter.drawText(p.x, p.y + painter.fontMetrics().ascent(), p.text);
    painter.restore();
  }
  return image;
}

int TextWidth(const QFont& font, const QString& text) {
  QImage probe = Blank(QSize(1, 1));
  return QFontMetrics(font, &probe).horizontalAdvance(text);
}

bool IsInk(QRgb pixel) { return qGray(pixel) < 128; }

bool ColumnHasInk(const QImage& image, int x, int top, int bottom) {
  for (int y = top; y < bottom; ++y) {
    if (IsInk(image.pixel(x, y))) return true;
  }
  return false;
}

TestKey YellowKey(const char* align, Lines text) {
  TestKey key = TestKey::Editable(1, std::move(text));
  key.colors = "0,65535";
  key.align = align;
  return key;
}

const QString kSquares = QStringLiteral("■■■■■■");

}  // namespace

TEST(DrawKeyText, LineHeightFollowsTheCanvasResolution) {
  EXPECT_EQ(PointsToPixels(12, 96), 16);
  EXPECT_EQ(PointsToPixels(9, 96), 12);
  EXPECT_EQ(PointsToPixels(10, 96), 13);  // 13.33
  EXPECT_EQ(PointsToPixels(11, 96), 15);  // 14.67
  EXPECT_EQ(PointsToPixels(3, 96), 4);    // 4.0
  EXPECT_EQ(PointsToPixels(9, 600), 75);
  EXPECT_EQ(PointsToPixels(-9, 96), -12);
  EXPECT_EQ(PointsToPixels(0, 96), 0);
}

TEST(DrawKeyText, TwoTwelvePointLinesInThirtyPixelsHavePadMinusOne) {
  // H = 16, pad = (30 - 32) / 2 = -1: line 0 at y = 19, clipped to 20..34;
  // line 1 at y = 35, clipped at the bottom edge to 35..49.
  const QRect area(10, 20, 100, 30);
  const QSize size(130, 70);
  const TestKey key = YellowKey("1", {Sj("■■"), Sj("■■")});
  const QImage drawn = Drawn(key, area, size, 12);
  const QImage expected = Expected(size, area, kYellow, Mincho(16), Qt::black,
                                   {{10, 19, "■■", QRect(10, 20, 100, 15)},
                                    {10, 35, "■■", QRect(10, 35, 100, 15)}});
  EXPECT_EQ(drawn, expected);
  for (int x = 9; x <= 110; ++x) {
    EXPECT_EQ(drawn.pixel(x, 19), qRgb(255, 255, 255)) << x;
    EXPECT_EQ(drawn.pixel(x, 50), qRgb(255, 255, 255)) << x;
  }
  EXPECT_TRUE(ColumnHasInk(drawn, 12, 20, 35));
  EXPECT_TRUE(ColumnHasInk(drawn, 12, 35, 50));
}

TEST(DrawKeyText, CentredTextWiderThanTheAreaIsCutOnBothSides) {
  const int w = TextWidth(Mincho(16), kSquares);
  ASSERT_GT(w, 40);
  // Area 10 px narrower than the text: x = ((w - 10) - w) / 2 + 20 = 15.
  const QRect area(20, 10, w - 10, 30);
  const QSize size(w + 40, 50);
  const QImage drawn = Drawn(YellowKey("2", {sjis::Encode(kSquares)}), area, size, 12);
  // pad = (30 - 16) / 2 = 7: the line sits at y = 17.
  EXPECT_EQ(drawn, Expected(size, area, kYellow, Mincho(16), Qt::black,
                            {{15, 17, kSquares, QRect(20, 17, w - 10, 16)}}));
  EXPECT_TRUE(ColumnHasInk(drawn, 20, 17, 33));
  EXPECT_TRUE(ColumnHasInk(drawn, 20 + w - 11, 17, 33));
  EXPECT_FALSE(ColumnHasInk(drawn, 19, 0, 50));
  EXPECT_FALSE(ColumnHasInk(drawn, 20 + w - 10, 0, 50));
}

TEST(DrawKeyText, RightAlignedTextLosesItsStart) {
  const int w = TextWidth(Mincho(12), kSquares);
  const QRect area(5, 5, w - 20, 12);
  const QSize size(w, 30);
  const QImage drawn = Drawn(YellowKey("3", {sjis::Encode(kSquares)}), area, size, 9);
  // x = (w - 20) - w + 5 = -15; H = 12 fills the area exactly: pad 0.
  EXPECT_EQ(drawn, Expected(size, area, kYellow, Mincho(12), Qt::black,
                            {{-15, 5, kSquares, QRect(5, 5, w - 20, 12)}}));
}

TEST(DrawKeyText, UnknownAlignmentKeepsLinesAtTheCanvasOrigin) {
  const QRect area(30, 10, 120, 40);
  const QSize size(160, 60);
  for (const char* align : {"0", "4"}) {
    TestKey key = YellowKey(align, {Sj("■■■■"), Sj("■")});
    key.bold = "1";
    key.italic = "1";
    // Two lines of 16 in 40: pad 4. Both lines start at x = 0; the second,
    // 16 px wide, lies wholly left of the area and leaves only background.
    const QImage drawn = Drawn(key, area, size, 12);
    EXPECT_EQ(drawn, Expected(size, area, kYellow, Mincho(16, true, true), Qt::black,
                              {{0, 14, "■■■■", QRect(30, 14, 120, 16)},
                               {0, 30, "■", QRect(30, 30, 120, 16)}}))
        << align;
    EXPECT_TRUE(ColumnHasInk(drawn, 31, 14, 30)) << align;
    EXPECT_FALSE(ColumnHasInk(drawn, 31, 30, 46)) << align;
  }
}

TEST(DrawKeyText, NoLinesShowOnlyTheBackground) {
  const QRect area(3, 4, 20, 10);
  const QImage drawn = Drawn(YellowKey("2", {}), area, QSize(30, 20), 12);
  EXPECT_EQ(drawn, Expected(QSize(30, 20), area, kYellow, Mincho(16), Qt::black, {}));
  // A size that gives no pixel height draws the background only, too.
  TestKey text = YellowKey("2", {Sj("■")});
  EXPECT_EQ(Drawn(text, area, QSize(30, 20), 0),
            Expected(QSize(30, 20), area, kYellow, Mincho(16), Qt::black, {}));
}

TEST(DrawKeyText, ColourPairsAndTheirDefaults) {
  const QRect area(0, 0, 40, 20);
  auto drawnWith = [&](const char* colors) {
    TestKey key = TestKey::Editable(1, {Sj("■")});
    key.colors = colors;
    return Drawn(key, area, QSize(40, 20), 12);
  };
  // Red text (255, no ",") on white.
  const QImage red = drawnWith("255");
  EXPECT_EQ(red.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(red.pixel(20, 10), qRgb(255, 0, 0));
  // Values that are not numbers: black on white.
  const QImage black = drawnWith("abc,def");
  EXPECT_EQ(black.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(black.pixel(20, 10), qRgb(0, 0, 0));
  // 0,65535: black on yellow; 16711680 is blue.
  EXPECT_EQ(drawnWith("0,65535").pixel(0, 0), qRgb(255, 255, 0));
  EXPECT_EQ(drawnWith("16711680,0").pixel(20, 10), qRgb(0, 0, 255));
}

TEST(DrawKeyText, PrinterResolutionScalesTheLineHeight) {
  // 12 points at 600 dpi: H = 100. Two lines in 150 px: pad -25.
  const QRect area(0, 0, 300, 150);
  const QSize size(300, 160);
  const TestKey key = YellowKey("1", {Sj("■"), Sj("■")});
  const QImage drawn = Drawn(key, area, size, 12, k600DotsPerMeter);
  EXPECT_EQ(drawn.logicalDpiY(), 600);
  EXPECT_EQ(drawn, Expected(size, area, kYellow, Mincho(100), Qt::black,
                            {{0, -25, "■", QRect(0, 0, 300, 75)},
                             {0, 75, "■", QRect(0, 75, 300, 75)}},
                            k600DotsPerMeter));
}

TEST(DrawKeyText, LinesOutsideTheAreaAndFractionalPositions) {
  // Four lines of 16 in 20 px: pad = (20 - 64) / 2 = -22. Lines 0 (y -12)
  // and 3 (y 36) fall wholly outside 10..30; line 1 (y 4) shows 10..20 and
  // line 2 (y 20) shows 20..30.
  const QRect area(0, 10, 60, 20);
  const QSize size(60, 50);
  const TestKey key = YellowKey("1", {Sj("■"), Sj("■■"), Sj("■■■"), Sj("■■■■")});
  EXPECT_EQ(Drawn(key, area, size, 12),
            Expected(size, area, kYellow, Mincho(16), Qt::black,
                     {{0, 4, "■■", QRect(0, 10, 60, 10)}, {0, 20, "■■■", QRect(0, 20, 60, 10)}}));

  // Fractional edges: top 10.5, bottom 40.5; pad 7, y = 17.5 -> 17; the fill
  // covers rows 10..39 and the slice rows 17..32.
  QImage image = Blank(size);
  {
    QPainter painter(&image);
    DrawKeyText(painter, Decimal4(), *Decimal4::FromText("10.5"), Decimal4::FromInt(60),
                *Decimal4::FromText("40.5"), YellowKey("1", {Sj("■")}).Block(), 0, 12);
  }
  EXPECT_EQ(image, Expected(size, QRect(0, 10, 60, 30), kYellow, Mincho(16), Qt::black,
                            {{0, 17, "■", QRect(0, 17, 60, 16)}}));
}

TEST(DrawKeyText, PicturesDamagedLinesAndAnExistingClip) {
  const QRect area(0, 0, 40, 20);
  TestKey picture = YellowKey("2", {Sj("■")});
  picture.pictureKind = " .bmp ";
  EXPECT_EQ(Drawn(picture, area, QSize(40, 20), 12), Blank(QSize(40, 20)));
  picture.pictureKind = "   ";
  EXPECT_NE(Drawn(picture, area, QSize(40, 20), 12), Blank(QSize(40, 20)));

  auto errorLine = [&](const TestKey& key) -> qsizetype {
    try {
      Drawn(key, area, QSize(40, 20), 12);
    } catch (const DocumentError& e) {
      return e.Line();
    }
    return -1;
  };
  TestKey key = TestKey::Editable(1, {"a"});
  key.bold = "x";
  EXPECT_EQ(errorLine(key), 22);
  key = TestKey::Editable(1, {"a"});
  key.align = "";
  EXPECT_EQ(errorLine(key), 24);
  key = TestKey::Editable(1, {"a"});
  key.textCount = "2";  // one line short: the list ends at line 34
  EXPECT_EQ(errorLine(key), 34);
  key = TestKey::Editable(1, {"a"});
  key.size = "9.5";
  EXPECT_EQ(errorLine(key), 20);
  EXPECT_NO_THROW(ReadKeyTextFormat(TestKey::Editable(1, {"a"}).Block(), 0));

  // A clip already set on the painter (a face image inside its panel) stays.
  QImage image = Blank(QSize(40, 20));
  {
    QPainter painter(&image);
    painter.setClipRect(QRect(0, 0, 10, 20));
    DrawKeyText(painter, Decimal4(), Decimal4(), Decimal4::FromInt(40), Decimal4::FromInt(20),
                YellowKey("1", {Sj("■■■")}).Block(), 0, 12);
  }
  EXPECT_EQ(image.pixel(9, 0), qRgb(255, 255, 0));
  EXPECT_EQ(image.pixel(10, 0), qRgb(255, 255, 255));
  EXPECT_FALSE(ColumnHasInk(image, 12, 0, 20));
}

TEST(DrawKeyText, AbsurdSizesFromADamagedFileStillDraw) {
  const QRect area(0, 0, 40, 20);
  for (int size : {400, 99999, 2147483647}) {
    const QImage drawn = Drawn(YellowKey("2", {Sj("■■")}), area, QSize(40, 20), size);
    EXPECT_EQ(drawn.pixel(39, 19), qRgb(255, 255, 0)) << size;
  }
}

namespace {

// The dark pixels of an image: the ink of its text.
int Ink(const QImage& image) {
  int ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  }
  return ink;
}

TestKey InkKey(bool bold) {
  TestKey key = TestKey::Editable(1, {Sj("内線一覧")});
  key.bold = bold ? "1" : "0";
  key.colors = "0,16777215";
  return key;
}

// The key drawn at `points` on a canvas of `dotsPerMeter`, with room to spare.
QImage InkImage(bool bold, int points, int dotsPerMeter) {
  const int pixels = PointsToPixels(points, qRound(dotsPerMeter * 0.0254));
  const QSize size(pixels * 5, pixels * 2);
  return Drawn(InkKey(bold), QRect(QPoint(0, 0), size), size, points, dotsPerMeter);
}

constexpr int k1200DotsPerMeter = 47244;

}  // namespace

TEST(DrawKeyText, BoldShowsAtEverySizeOnScreenAndAtPrinterResolution) {
  // The IPA fonts have no bold face: bold is made, also where Qt stops
  // making it (64 pixels and more).
  struct Case {
    int points, dotsPerMeter;
  };
  for (const Case c : {Case{9, kScreenDotsPerMeter}, Case{36, kScreenDotsPerMeter}, Case{47, kScreenDotsPerMeter},
                       Case{48, kScreenDotsPerMeter}, Case{72, kScreenDotsPerMeter}, Case{6, k600DotsPerMeter},
                       Case{8, k600DotsPerMeter}, Case{8, k1200DotsPerMeter}, Case{12, k1200DotsPerMeter}}) {
    const int regular = Ink(InkImage(false, c.points, c.dotsPerMeter));
    const int bold = Ink(InkImage(true, c.points, c.dotsPerMeter));
    EXPECT_GT(bold, regular * 1.15) << c.points << " pt at " << c.dotsPerMeter << " dots/m: " << bold
                                    << " vs " << regular;
    // Still the same text: bold thickens strokes, it does not smear them.
    EXPECT_LT(bold, regular * 3) << c.points << " pt";
  }
}

TEST(DrawKeyText, BoldShowsOnThePrintersCanvas) {
  if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) GTEST_SKIP() << "pdftoppm is missing";
  QTemporaryDir dir;
  auto printed = [&](bool bold) {
    const QString pdf = dir.filePath(bold ? "bold.pdf" : "regular.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(1200);
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A5));
    {
      QPainter painter(&printer);
      const Decimal4 side = Decimal4::FromInt(1200);
      DrawKeyText(painter, side, side, side * Decimal4::FromInt(3), side + Decimal4::FromInt(400),
                  InkKey(bold).Block(), 0, 8);
    }
    const QString base = dir.filePath(bold ? "bold" : "regular");
    QProcess::execute("pdftoppm", {"-r", "300", "-gray", "-singlefile", pdf, base});
    const QImage page(base + ".pgm");
    EXPECT_FALSE(page.isNull());
    return Ink(page);
  };
  const int regular = printed(false);
  const int bold = printed(true);
  EXPECT_GT(regular, 0);
  EXPECT_GT(bold, regular * 1.15) << bold << " vs " << regular;
}

TEST(DrawKeyText, OfAThousandLinesOnlyThoseInTheAreaShow) {
  // 1001 lines of 16 px in 30: pad = (30 - 16016) / 2 = -7993, so lines 499,
  // 500 and 501 start at y = 11, 27 and 43 and fall into the area 20 ... 50.
  const QRect area(10, 20, 100, 30);
  const QSize size(130, 70);
  Lines text;
  for (int i = 0; i <= 1000; ++i) text.append(i >= 499 && i <= 501 ? QByteArray::number(i) : Sj("■■■■"));
  const QImage drawn = Drawn(YellowKey("3", text), area, size, 12);
  const QFont font = Mincho(16);
  auto right = [&](const char* t) { return 110 - TextWidth(font, QString::fromLatin1(t)); };
  const QImage expected = Expected(size, area, kYellow, font, Qt::black,
                                   {{right("499"), 11, "499", QRect(10, 20, 100, 7)},
                                    {right("500"), 27, "500", QRect(10, 27, 100, 16)},
                                    {right("501"), 43, "501", QRect(10, 43, 100, 7)}});
  EXPECT_EQ(drawn, expected);
}

// Whether the text fits comes from the same placement DrawKeyText draws:
// the block of lines no taller than the area, no line past its sides.
TEST(KeyTextFits, TallOrWideTextDoesNotFit) {
  const int squares = TextWidth(Mincho(16), kSquares);
  const struct {
    const char* name;
    const char* align;
    Lines text;
    int pointSize;
    QSize area;
    bool fits;
  } cases[] = {
      {"no text", "2", {}, 12, {40, 10}, true},
      {"two 12 pt lines in 30 px (pad -1)", "1", {Sj("■"), Sj("■")}, 12, {100, 30}, false},
      {"two 12 pt lines in 32 px", "1", {Sj("■"), Sj("■")}, 12, {100, 32}, true},
      {"exactly as wide", "1", {Sj("■■■■■■")}, 12, {squares, 20}, true},
      {"one pixel too narrow, centred", "2", {Sj("■■■■■■")}, 12, {squares - 1, 20}, false},
      {"one pixel too narrow, right", "3", {Sj("■■■■■■")}, 12, {squares - 1, 20}, false},
      {"a size that gives no pixels", "2", {"x"}, 0, {100, 30}, false},
  };
  const QImage screen = Blank(QSize(1, 1));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestKey key = YellowKey(c.align, c.text);
    const KeyTextFormat format = ReadKeyTextFormat(key.Block(), 0);
    EXPECT_EQ(KeyTextFits(screen, Decimal4(), Decimal4(), Decimal4::FromInt(c.area.width()),
                          Decimal4::FromInt(c.area.height()), format, c.pointSize),
              c.fits);
    EXPECT_EQ(KeyFaceFits(format, c.area, c.pointSize), c.fits);
  }
  // A picture hides the text: nothing is cut.
  TestKey picture = YellowKey("2", {Sj("■■■■■■■■■■")});
  picture.pictureKind = "BMP";
  EXPECT_TRUE(KeyFaceFits(ReadKeyTextFormat(picture.Block(), 0), QSize(10, 10), 12));
}
