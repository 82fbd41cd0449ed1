// The strip renderer: the canvas fills, frames, labels, panels and faces at
// the plan's pixels, in the view's stacking order.
#include <QPainter>
#include <gtest/gtest.h>

#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/KeyText.h"
#include "view/StripRenderer.h"

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kSilver = qRgb(192, 192, 192);
constexpr QRgb kGrey = qRgb(128, 128, 128);

// Group at 10, 20 mm (40 x 30); key outline at +1, +1 (18 x 12), label at
// +2, +1.5 (5 x 3), text area at +2, +4 (14 x 8).
TestKey SampleKey(const char* number) {
  TestKey key = TestKey::Editable(1, {Sj("■")});
  key.number = number;
  key.labelX = "2";
  key.labelY = "1.5";
  key.colors = "0,65535";
  return key;
}

TestStrip SampleStrip(QList<TestKey> keys) {
  TestStrip strip;
  TestGroup group;
  group.keys = std::move(keys);
  strip.groups = {group};
  return strip;
}

struct Rendered {
  Lines lines;
  StripPlan plan;
  QImage image;
};

Rendered Render(const TestStrip& strip, ViewKind view = kDetailView) {
  Rendered r;
  r.lines = DocumentLines({strip});
  r.plan = PlanStrip(r.lines, kFirstStripStart);
  r.image = RenderStrip(r.lines, r.plan, view);
  return r;
}

bool SameInside(const QImage& image, const QRect& rect, const QImage& part) {
  return image.copy(rect) == part.convertToFormat(image.format());
}

// The bounding box of the pixels in which two images differ.
QRect Difference(const QImage& a, const QImage& b) {
  QRect box;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

}  // namespace

TEST(StripRenderer, CanvasFillsGroupsAndKeyOutlinesWithBlackBorders) {
  const Rendered r = Render(SampleStrip({SampleKey("1")}));
  const QImage canvas = RenderCanvas(r.plan, kDetailView);
  ASSERT_EQ(canvas.size(), QSize(650, 793));
  EXPECT_EQ(canvas.dotsPerMeterY(), kScreenDotsPerMeter);
  // Group: 43.952, 75.56 to 219.76, 188.9.
  EXPECT_EQ(PixelRect(r.plan.groups[0].rect[kDetailView]), QRect(43, 75, 176, 113));
  EXPECT_EQ(canvas.pixel(42, 75), kWhite);
  EXPECT_EQ(canvas.pixel(43, 75), kBlack);
  EXPECT_EQ(canvas.pixel(44, 76), kSilver);
  EXPECT_EQ(canvas.pixel(218, 187), kBlack);
  EXPECT_EQ(canvas.pixel(219, 188), kWhite);
  EXPECT_EQ(canvas.pixel(217, 186), kSilver);
  // Key outline: 48.3472, 79.338 to 48.3472 + 79.1136, 79.338 + 45.336.
  EXPECT_EQ(PixelRect(r.plan.keys[0].view[kDetailView].outline), QRect(48, 79, 79, 45));
  EXPECT_EQ(canvas.pixel(48, 79), kBlack);  // square corner
  EXPECT_EQ(canvas.pixel(49, 80), kGrey);
  EXPECT_EQ(canvas.pixel(126, 123), kBlack);
  EXPECT_EQ(canvas.pixel(127, 124), kSilver);
}

TEST(StripRenderer, OtherSeriesHaveRoundedKeyCorners) {
  TestStrip strip = SampleStrip({SampleKey("1")});
  strip.series = Sj("ＳＩＰ対応電話機");
  const Rendered r = Render(strip);
  const QImage canvas = RenderCanvas(r.plan, kDetailView);
  ASSERT_EQ(canvas.size(), QSize(800, 971));
  const QRect key = PixelRect(r.plan.keys[0].view[kDetailView].outline);
  EXPECT_EQ(canvas.pixel(key.left(), key.top()), kSilver);
  EXPECT_EQ(canvas.pixel(key.right(), key.bottom()), kSilver);
  EXPECT_EQ(canvas.pixel(key.left(), key.center().y()), kBlack);
  EXPECT_EQ(canvas.pixel(key.center().x(), key.top()), kBlack);
  EXPECT_EQ(canvas.pixel(key.left() + 1, key.center().y()), kGrey);
  // The 25 x 20 ellipse: 6 px in from the corner along the diagonal is
  // still outside the key, 9 px in is inside.
  EXPECT_EQ(canvas.pixel(key.left() + 1, key.top() + 1), kSilver);
  EXPECT_EQ(canvas.pixel(key.left() + 9, key.top() + 9), kGrey);
}

TEST(StripRenderer, FramesPanelsAndFacesOfTheDetailView) {
  const Rendered r = Render(SampleStrip({SampleKey("1")}));
  const KeyView& v = r.plan.keys[0].view[kDetailView];
  // Text area at 12, 24 mm, 14 x 8: 52.7424, 90.672, 61.5328, 30.224.
  ASSERT_EQ(v.panel, QRect(52, 90, 61, 30));
  ASSERT_EQ(v.frame, QRect(50, 88, 65, 34));
  EXPECT_EQ(r.image.pixel(50, 88), kBlack);
  EXPECT_EQ(r.image.pixel(51, 89), kWhite);
  EXPECT_EQ(r.image.pixel(114, 121), kBlack);
  EXPECT_EQ(r.image.pixel(113, 120), kWhite);
  EXPECT_EQ(r.image.pixel(115, 122), kGrey);
  // The panel shows the face image exactly: yellow background, the text.
  const QImage face = RenderKeyFace(r.lines, r.plan.keys[0], kDetailView);
  ASSERT_EQ(face.size(), QSize(61, 30));
  EXPECT_TRUE(SameInside(r.image, v.panel, face));
  EXPECT_EQ(r.image.pixel(52, 90), qRgb(255, 255, 0));
  EXPECT_EQ(r.image.pixel(51, 90), kWhite);

  // The face is DrawKeyText at the panel size with the size of line 20.
  QImage expected = NewScreenImage(QSize(61, 30));
  {
    QPainter painter(&expected);
    DrawKeyText(painter, Decimal4(), Decimal4(), Decimal4::FromInt(61), Decimal4::FromInt(30),
                r.lines, r.plan.keys[0].blockLine, 9);
  }
  EXPECT_EQ(face, expected);
}

TEST(StripRenderer, AllViewDrawsFacesAtItsOwnFontSize) {
  TestKey key = SampleKey("1");
  key.size = "12";
  TestStrip strip = SampleStrip({key});
  strip.series = Sj("Ｋａシリーズ主装置");
  strip.type = Sj("標準Ｋａ");
  const Rendered r = Render(strip, kAllView);
  ASSERT_EQ(r.image.size(), QSize(513, 626));
  const KeyView& v = r.plan.keys[0].view[kAllView];
  ASSERT_EQ(v.textPointSize, 10);
  QImage expected = NewScreenImage(v.panel.size());
  {
    QPainter painter(&expected);
    DrawKeyText(painter, Decimal4(), Decimal4(), Decimal4::FromInt(v.panel.width()),
                Decimal4::FromInt(v.panel.height()), r.lines, r.plan.keys[0].blockLine, 10);
  }
  EXPECT_TRUE(SameInside(r.image, v.panel, expected));
  EXPECT_EQ(r.image.pixel(v.frame.topLeft()), kBlack);
}

TEST(StripRenderer, KeyNumberFieldDecidesLabelFrameAndPanel) {
  const Rendered shown = Render(SampleStrip({SampleKey("-5")}));
  TestStrip hiddenStrip = SampleStrip({SampleKey("-5")});
  hiddenStrip.groups[0].showNumbers = "0";
  const Rendered hidden = Render(hiddenStrip);
  // The label is the only difference, and it stays inside its rectangle.
  const QRect label = shown.plan.keys[0].view[kDetailView].label;
  const QRect diff = Difference(shown.image, hidden.image);
  EXPECT_FALSE(diff.isEmpty());
  EXPECT_TRUE(label.contains(diff)) << diff.x() << "," << diff.y() << " " << diff.width() << "x"
                                    << diff.height();

  // A fixed key has no frame: the frame's corner shows the grey outline.
  const KeyView& fixed = shown.plan.keys[0].view[kDetailView];
  EXPECT_EQ(shown.image.pixel(fixed.frame.topLeft()), kGrey);
  EXPECT_EQ(shown.image.pixel(fixed.panel.topLeft()), qRgb(255, 255, 0));

  // No key number at all: no panel either.
  const Rendered blank = Render(SampleStrip({SampleKey("")}));
  const QRect panel = blank.plan.keys[0].view[kDetailView].panel;
  for (QPoint p : {panel.topLeft(), panel.center(), panel.bottomRight()}) {
    EXPECT_EQ(blank.image.pixel(p), kGrey);
  }
}

TEST(StripRenderer, PanelsLieAboveFramesAndLabels) {
  // A label moved over the text area: the panel covers it.
  TestKey key = SampleKey("8");
  key.labelX = "2";
  key.labelY = "4";
  const Rendered over = Render(SampleStrip({key}));
  const KeyView& v = over.plan.keys[0].view[kDetailView];
  ASSERT_TRUE(v.panel.contains(v.label.topLeft()));
  const QImage face = RenderKeyFace(over.lines, over.plan.keys[0], kDetailView);
  EXPECT_TRUE(SameInside(over.image, v.panel, face));

  // A picture key's panel is white and shows no text.
  TestKey picture = SampleKey("1");
  picture.pictureKind = ".jpg";
  picture.pictureData = "AAAA";
  const Rendered pic = Render(SampleStrip({picture}));
  const QRect panel = pic.plan.keys[0].view[kDetailView].panel;
  QImage white(panel.size(), QImage::Format_RGB32);
  white.fill(Qt::white);
  EXPECT_EQ(pic.image.copy(panel), white);
  EXPECT_TRUE(RenderKeyFace(pic.lines, pic.plan.keys[0], kDetailView).pixel(0, 0) == kWhite);
}

TEST(StripRenderer, FaceLayoutMovesPictureKeysOutOfSight) {
  KeyPlan key;
  key.view[kDetailView].panel = QRect(52, 90, 61, 30);
  key.view[kDetailView].frame = QRect(50, 88, 65, 34);
  const FaceLayout text = KeyFaceLayout(key, kDetailView, false);
  EXPECT_EQ(text.face, QRect(0, 0, 61, 30));
  EXPECT_EQ(text.editor, QRect(50, 88, 65, 34));
  const FaceLayout picture = KeyFaceLayout(key, kDetailView, true);
  EXPECT_EQ(picture.face, QRect(30, 0, 0, 30));
  EXPECT_EQ(picture.editor, QRect(80, 88, 0, 34));
}

TEST(StripRenderer, NothingIsDrawnForARefusedStrip) {
  TestStrip strip;
  strip.groups = QList<TestGroup>(101, TestGroup());
  const Rendered r = Render(strip);
  EXPECT_TRUE(r.plan.tooMany);
  EXPECT_TRUE(r.image.isNull());
}

TEST(StripRenderer, HugeMillimetreValuesStayWithinPixelLimits) {
  TestStrip strip = SampleStrip({SampleKey("1")});
  strip.groups[0].x = "-999999999";
  strip.groups[0].width = "999999999";
  strip.groups[0].keys[0].textWidth = "999999999.9999";
  const Rendered r = Render(strip);
  const KeyView& v = r.plan.keys[0].view[kDetailView];
  EXPECT_EQ(v.panel.left(), -(1 << 24));
  EXPECT_EQ(v.panel.width(), 1 << 24);
  EXPECT_EQ(PixelRect(r.plan.groups[0].rect[kDetailView]).width(), 1 << 24);
  // No face image of that width is made: the panel stays white.
  EXPECT_TRUE(RenderKeyFace(r.lines, r.plan.keys[0], kDetailView).isNull());
  EXPECT_EQ(r.image.size(), QSize(650, 793));
}
