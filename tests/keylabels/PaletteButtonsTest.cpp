// Palette buttons on real widgets (count, geometry, captions, latching) and
// handing an entry to a key block of a strip document.
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "document/Series.h"
#include "document/StripDocument.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/PaletteButtons.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/KeyEditing.h"

namespace {

struct PaletteButtonsTest : ::testing::Test {
  QTabWidget pages;
  PaletteButtonsTest() {
    for (int i = 1; i <= 3; ++i) pages.addTab(new QWidget, QStringLiteral("ｷｰﾗﾍﾞﾙ%1").arg(i));
  }
  int ButtonsOn(int tab) { return int(pages.widget(tab)->findChildren<QPushButton*>().size()); }
  int AllButtons() {
    return int(pages.findChildren<QPushButton*>(QString(), Qt::FindChildrenRecursively).size());
  }
};

// The defaults of a series with entry `entry` holding `text`.
Lines ListWithEntry(int series, int entry, const Lines& text) {
  Lines list = DefaultKeyLabels(series);
  Lines old;
  CommitKeyLabel(&list, entry, Myfunc_Get_Label(list, entry, &old), text);
  return list;
}

}  // namespace

TEST_F(PaletteButtonsTest, ThreeTabsOfTwentyOrFifteenButtonsOnePixelApart) {
  PaletteButtons buttons(&pages, PaletteButtons::Latch::None);
  for (int series = 0; series < kSeriesCount; ++series) {
    buttons.Make(series);
    const int n = series >= 4 ? 15 : 20;
    ASSERT_EQ(buttons.Count(), 3 * n) << series;
    for (int tab = 0; tab < 3; ++tab) EXPECT_EQ(ButtonsOn(tab), n) << series;
    for (int i : {0, 1, n - 1, n, 3 * n - 1}) {
      QPushButton* b = buttons.Button(i);
      EXPECT_EQ(b->parentWidget(), pages.widget(i / n));
      EXPECT_EQ(b->geometry(), QRect(0, 24 * (i % n), 172, 23)) << series << " " << i;
      EXPECT_EQ(b->font().pointSize(), 9);
      EXPECT_FALSE(b->isCheckable());
    }
  }
  // From 60 buttons to 45: none of the 60 is left behind.
  buttons.Make(0);
  buttons.Make(6);
  EXPECT_EQ(AllButtons(), 45);
  buttons.Free();
  EXPECT_EQ(AllButtons(), 0);
  EXPECT_EQ(buttons.Button(0), nullptr);
}

TEST_F(PaletteButtonsTest, CaptionsShowOneLineTwoLinesAtEightPointsOrNothing) {
  struct Case {
    Lines text;
    QString caption;
    int pointSize;
  };
  const QList<Case> cases = {
      {{Sj("内線電話帳")}, "内線電話帳", 9},
      {{Sj("業務コード"), Sj("指定発信")}, "業務コード\n指定発信", 8},
      {{Sj("一"), Sj("二"), Sj("三")}, "一\n二", 8},
      {{""}, "", 9},
      {{}, "", 9},
  };
  PaletteButtons buttons(&pages, PaletteButtons::Latch::None);
  buttons.Make(6);
  for (const Case& c : cases) {
    const Lines list = ListWithEntry(6, 17, c.text);
    Lines labelLines{"stale"};
    buttons.SetCaptions(list, &labelLines);
    QPushButton* b = buttons.Button(17);
    EXPECT_EQ(b->text(), c.caption);
    EXPECT_EQ(b->font().pointSize(), c.pointSize) << c.caption.toStdString();
    EXPECT_EQ(b->accessibleName(), c.caption);
    // The buffer is left with the lines of the last entry read.
    Lines last;
    Myfunc_Get_Label(list, 44, &last);
    EXPECT_EQ(labelLines, last);
  }
  // A list too short for the buttons is refused, not read past its end.
  Lines labelLines;
  EXPECT_THROW(buttons.SetCaptions(Lines{Sj("ＭＳ 明朝"), "9", "0", "0"}, &labelLines), DocumentError);
}

TEST_F(PaletteButtonsTest, ALatchingPaletteKeepsExactlyOneButtonPressed) {
  PaletteButtons buttons(&pages, PaletteButtons::Latch::OneStaysPressed);
  buttons.Make(0);
  QList<int> clicked;
  QObject::connect(&buttons, &PaletteButtons::Clicked, [&](int i) { clicked << i; });
  buttons.Press(0);
  buttons.Button(25)->click();
  buttons.Button(25)->click();
  EXPECT_EQ(clicked, (QList<int>{25, 25}));
  int pressed = 0;
  for (int i = 0; i < buttons.Count(); ++i) pressed += buttons.Button(i)->isChecked();
  EXPECT_EQ(pressed, 1);
  EXPECT_TRUE(buttons.Button(25)->isChecked());
}

namespace {

// A document with three editable keys; key 1 has three text lines.
struct ApplyFixture {
  StripDocument document;
  ApplyFixture(QByteArray pictureKind = {}) {
    TestStrip strip;
    TestGroup group;
    TestKey first = TestKey::Editable(1, {Sj("前")});
    TestKey middle = TestKey::Editable(2, {Sj("一"), Sj("二"), Sj("三")});
    middle.colors = "255";
    middle.bold = "1";
    middle.align = "3";
    middle.pictureKind = pictureKind;
    TestKey last = TestKey::Editable(3, {Sj("後")});
    group.keys = {first, middle, last};
    strip.groups = {group};
    document.SetLines(DocumentLines({strip}));
  }
  qsizetype Key(int k) { return KeyBlockLine(document.lines(), kFirstStripStart, k); }
  QByteArray Line(int k, int offset) { return document.at(Key(k) + offset); }
};

}  // namespace

TEST(ApplyKeyLabel, TheKeyTakesFontSizeColoursAndEveryLineOthersStay) {
  const KeyLabelValues label{Sj("ＭＳ ゴシック"), 11, 0x0000FF, 0xFFFFFF, {}};
  struct Case {
    Lines text;
    qsizetype delta;
  };
  const QList<Case> cases = {{{Sj("業務コード"), Sj("指定発信")}, -1},
                             {{}, -3},
                             {{Sj("一二三四五六七八九十一二三"), "a", "b", "c"}, 1}};
  for (const Case& c : cases) {
    ApplyFixture f;
    const QByteArray lastKeyNumber = f.Line(2, layout::kKeyNumber);
    KeyLabelValues withText = label;
    withText.text = c.text;
    EXPECT_EQ(ApplyKeyLabel(f.document, f.Key(1), withText).lineDelta, c.delta);
    EXPECT_EQ(f.Line(1, layout::kFontName), Sj("ＭＳ ゴシック"));
    EXPECT_EQ(f.Line(1, layout::kFontSize), "11");
    EXPECT_EQ(f.Line(1, layout::kColorPair), "255,16777215");
    EXPECT_EQ(f.Line(1, layout::kBold), "1");
    EXPECT_EQ(f.Line(1, layout::kAlign), "3");
    EXPECT_EQ(f.Line(1, layout::kTextCount), QByteArray::number(c.text.size()));
    EXPECT_EQ(f.document.lines().mid(f.Key(1) + layout::kFirstText, c.text.size()), c.text);
    // The keys around it are whole: the walk still finds them.
    EXPECT_EQ(f.Line(0, layout::kFirstText), Sj("前"));
    EXPECT_EQ(f.Line(2, layout::kKeyNumber), lastKeyNumber);
    EXPECT_EQ(f.Line(2, layout::kFirstText), Sj("後"));
  }
}

TEST(ApplyKeyLabel, ADamagedBlockRaisesAndChangesNothing) {
  ApplyFixture f;
  Lines lines = f.document.lines();
  lines[f.Key(2) + layout::kTextCount] = "9";  // announces more lines than the document holds
  f.document.SetLines(lines);
  EXPECT_THROW(ApplyKeyLabel(f.document, KeyBlockLine(lines, kFirstStripStart, 2), {}), DocumentError);
  EXPECT_EQ(f.document.lines(), lines);
}

// Whatever the font, the three captions show whole side by side.
TEST_F(PaletteButtonsTest, TabCaptionsFitAThirdOfTheWidth) {
  for (int pixels : {12, 40}) {
    QFont font = pages.font();
    font.setPixelSize(pixels);
    pages.tabBar()->setFont(font);
    FitPaletteTabs(&pages, 180);
    const QFontMetrics metrics(pages.tabBar()->font());
    for (int i = 0; i < 3; ++i) EXPECT_LE(metrics.horizontalAdvance(pages.tabText(i)), 180 / 3 - 8) << pixels;
  }
}
