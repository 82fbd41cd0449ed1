// The strip view and the print previews on a 200 % desktop: key texts, the
// canvas and the preview pages are drawn at device resolution with the same
// logical geometry. Its own test entry runs
// it with QT_SCALE_FACTOR=2; at a ratio of 1 it has nothing to look at.
#include "print/CardPrint.h"
#include "print/Printjimeijocard.h"
#include "print/Printjimeijolist.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"
#include "view/CanvasImage.h"
#include "view/StripRenderer.h"

namespace {

// True when some aligned 2 x 2 block of pixels is not of one colour: an
// image drawn at half the resolution and doubled has none.
bool HasDetailFinerThanTwoPixels(const QImage& image) {
  for (int y = 0; y + 1 < image.height(); y += 2) {
    for (int x = 0; x + 1 < image.width(); x += 2) {
      const QRgb p = image.pixel(x, y);
      if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p) return true;
    }
  }
  return false;
}

struct HiDpiTest : MainWindowFixture {};

}  // namespace

TEST_F(HiDpiTest, KeyTextsAndCanvasAreDrawnAtDeviceResolution) {
  if (main->devicePixelRatioF() < 2) GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
  OpenDocument(DocumentLines({GridStrip({TestKey::Editable(1, {Sj("内線２０１"), Sj("FAX")}),
                                          TestKey::Editable(2, {Sj("営業部")})})}));
  const StripPlan& plan = main->View().Plan();
  ASSERT_EQ(main->KeyCount(), 2);
  EXPECT_EQ(main->imgBase1->size(), plan.view[kDetailView].size);
  EXPECT_EQ(main->imgBase1->Image().size(), plan.view[kDetailView].size * 2);
  for (int k = 0; k < 2; ++k) {
    KeyImage* face = main->View().Controls(k, kDetailView).face;
    EXPECT_EQ(face->geometry(), KeyFaceLayout(plan.keys[k], kDetailView, false).face);
    const QImage shot = face->grab().toImage();
    EXPECT_EQ(shot.size(), face->size() * 2);
    EXPECT_TRUE(HasDetailFinerThanTwoPixels(shot)) << k;
  }
  // The canvas's borders stay one logical pixel on the outermost pixels.
  const QImage canvas = main->imgBase1->grab().toImage();
  const QRect group = PixelRect(plan.groups[0].rect[kDetailView]);
  EXPECT_EQ(canvas.pixel(group.left() * 2, group.top() * 2 + 40), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.pixel(group.left() * 2 + 1, group.top() * 2 + 40), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.pixel(group.left() * 2 + 2, group.top() * 2 + 40), qRgb(192, 192, 192));
}

TEST_F(HiDpiTest, PrintPreviewsAreDrawnAtDeviceResolution) {
  if (main->devicePixelRatioF() < 2) GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
  OpenDocument(DocumentLines({GridStrip({TestKey::Editable(1, {Sj("内線２０１"), Sj("FAX")}),
                                          TestKey::Editable(2, {Sj("営業部")})})}));
  const PrintAdjustment adjustment;
  TFPrintJimeijoCard card(main->Settings());
  card.Prepare(main->Document(), {0}, adjustment);
  TFPrintJimeijoList list(main->Settings());
  list.Prepare([this] { return main->ListRows(); });
  for (CanvasImage* page : {card.imgPage, list.imgPage}) {
    ASSERT_FALSE(page->Image().isNull());
    EXPECT_EQ(page->Image().size(), page->size() * 2);
    EXPECT_TRUE(HasDetailFinerThanTwoPixels(page->Image()));
  }
  // The card's page keeps its logical size: the same as at a ratio of 1.
  EXPECT_EQ(card.imgPage->size(), RenderCardPreview(main->Document(), 0, adjustment).size());
}
