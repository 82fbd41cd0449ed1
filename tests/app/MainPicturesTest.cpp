// The picture commands on the real window: attaching through the picture
// dialog, removing, and what a saved and reopened file holds.
#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "app/Main.h"
#include "base/Base64.h"
#include "base/LineIO.h"
#include "document/StripLayout.h"
#include "support/FakePrompts.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "view/PictureCodec.h"
#include "view/StripRenderer.h"
#include "view/StripView.h"
#include "view/Viewimage.h"

using namespace layout;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

struct MainPicturesTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  std::unique_ptr<TFMain> main = std::make_unique<TFMain>(dir.path());
  std::unique_ptr<TFViewImage> viewImage = std::make_unique<TFViewImage>(main->Settings());
  QByteArray logo = JpegBytes(TwoColourImage(60, 20, kRed, kBlue));
  QString logoPath = dir.filePath("logo.jpg");

  void SetUp() override {
    WriteBytes(logoPath, logo);
    AppWindows windows;
    windows.viewImage = viewImage.get();
    main->SetWindows(windows);
    main->show();
    main->Action("ActionShowDetail")->trigger();
  }
  void TearDown() override {
    main->SetWindows({});
    viewImage.reset();
    main->Document().MarkSaved();
    main.reset();
  }

  void Open(const QList<TestKey>& keys) {
    TestStrip strip;
    TestGroup group;
    group.keys = keys;
    strip.groups = {group};
    const QString path = dir.filePath("site.VRD");
    ASSERT_TRUE(WriteLinesFile(path, DocumentLines({strip})));
    ASSERT_TRUE(main->OpenDataFile(path));
  }
  // Runs the attach command on the current key with `steps` done in the
  // picture dialog.
  void Attach(const std::function<void()>& steps) {
    QTimer::singleShot(0, [this, steps] {
      steps();
      if (viewImage->isVisible()) {
        ADD_FAILURE() << "the picture dialog stayed open";
        viewImage->reject();
      }
    });
    main->Action("ActionEditPicOn")->trigger();
  }
  void LoadLogoAndOk() {
    prompts.files.push_back(logoPath);
    viewImage->ButtonLoad->click();
    viewImage->ButtonOK->click();
  }
  qsizetype Key(int k) { return KeyBlockLine(main->Document().lines(), kFirstStripStart, k); }
  QByteArray Line(int k, int line) { return main->Document().at(Key(k) + line); }
  const KeyControls& Detail(int k) { return main->View().Controls(k, kDetailView); }
  const KeyControls& All(int k) { return main->View().Controls(k, kAllView); }
};

TestKey WithText(int number) { return TestKey::Editable(number, {Sj("代表"), Sj("転送")}); }

}  // namespace

TEST_F(MainPicturesTest, AttachReplacesTheTextAndShowsThePictureInBothViews) {
  Open({WithText(1), WithText(2)});
  Attach([&] { LoadLogoAndOk(); });
  EXPECT_EQ(Line(0, kPictureKind), QByteArray(".jpg"));
  EXPECT_EQ(Line(0, kPictureData), EncodePictureText(logo));
  EXPECT_EQ(Line(0, kTextCount), QByteArray("0"));
  EXPECT_EQ(Line(1, kTextCount), QByteArray("2"));  // the next key is where it was
  EXPECT_EQ(Line(1, kFirstText + 1), Sj("転送"));
  EXPECT_TRUE(main->Document().IsChanged());
  for (const KeyControls* c : {&Detail(0), &All(0)}) {
    EXPECT_EQ(c->picture->Image().size(), QSize(60, 20));
    EXPECT_EQ(c->face->width(), 0);  // no text shows
  }
  EXPECT_TRUE(Detail(1).picture->Image().isNull());
  EXPECT_GT(Detail(1).face->width(), 0);
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(MainPicturesTest, SavedAndReopenedTheTextIsTheEncodingOfTheFile) {
  Open({WithText(1)});
  Attach([&] { LoadLogoAndOk(); });
  main->Action("ActionFileSave")->trigger();
  EXPECT_FALSE(main->Document().IsChanged());
  ASSERT_TRUE(main->OpenDataFile(dir.filePath("site.VRD")));
  EXPECT_EQ(Line(0, kPictureData), base64::Encode(ReadBytes(logoPath)));
  EXPECT_EQ(Line(0, kPictureKind), QByteArray(".jpg"));
  EXPECT_EQ(Detail(0).picture->Image().size(), QSize(60, 20));
}

TEST_F(MainPicturesTest, OkWithoutALoadedFileRemovesPictureAndText) {
  Open({WithText(1)});
  Attach([&] { LoadLogoAndOk(); });
  // Cancel keeps the picture.
  Attach([&] {
    EXPECT_EQ(viewImage->Picture().size(), QSize(60, 20));  // the key's picture is shown
    viewImage->ButtonCancel->click();
  });
  EXPECT_EQ(Line(0, kPictureKind), QByteArray(".jpg"));
  // OK without loading leaves the key empty.
  Attach([&] { viewImage->ButtonOK->click(); });
  EXPECT_EQ(Line(0, kPictureKind), QByteArray());
  EXPECT_EQ(Line(0, kPictureData), QByteArray());
  EXPECT_EQ(Line(0, kTextCount), QByteArray("0"));
  EXPECT_TRUE(Detail(0).picture->Image().isNull());

  // On a key with text, OK without loading deletes the text.
  Open({WithText(1)});
  Attach([&] { viewImage->ButtonOK->click(); });
  EXPECT_EQ(Line(0, kTextCount), QByteArray("0"));
}

TEST_F(MainPicturesTest, RemoveKeepsTheTextLines) {
  TestKey key = WithText(1);
  key.pictureKind = ".jpg";
  key.pictureData = EncodePictureText(logo);
  Open({key});
  EXPECT_EQ(Detail(0).picture->Image().size(), QSize(60, 20));
  EXPECT_EQ(Detail(0).face->width(), 0);
  main->Action("ActionEditPicOff")->trigger();
  EXPECT_EQ(Line(0, kPictureKind), QByteArray());
  EXPECT_EQ(Line(0, kPictureData), QByteArray());
  EXPECT_EQ(Line(0, kTextCount), QByteArray("2"));
  EXPECT_EQ(Line(0, kFirstText), Sj("代表"));
  EXPECT_TRUE(Detail(0).picture->Image().isNull());
  EXPECT_GT(Detail(0).face->width(), 0);  // the text shows again
}

TEST_F(MainPicturesTest, AClickOnAPictureAfterACtrlClickMakesItsKeyTheOneToRemove) {
  TestKey key = WithText(3);
  key.pictureKind = ".jpg";
  key.pictureData = EncodePictureText(logo);
  Open({key, WithText(1), key});
  QTest::mouseClick(Detail(1).face, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  QTest::mouseClick(Detail(0).picture, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 3));
  QTest::mouseClick(Detail(2).picture, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  EXPECT_EQ(main->CurrentKey(), 2);
  main->Action("ActionEditPicOff")->trigger();
  EXPECT_EQ(Line(2, kPictureKind), QByteArray());
  EXPECT_EQ(Line(0, kPictureKind), QByteArray(".jpg"));
}

TEST_F(MainPicturesTest, RedrawingAKeyDoesNotDecodeItsPictureAgain) {
  TestKey key = WithText(1);
  key.pictureKind = ".JPG";
  key.pictureData = EncodePictureText(logo);
  Open({key, WithText(2)});
  EXPECT_EQ(main->View().PictureDecodeCount(0), 1);
  main->View().DrawKeyFace(0);
  main->View().DrawKeyFace(0);
  EXPECT_EQ(main->View().PictureDecodeCount(0), 1);
  EXPECT_EQ(main->View().PictureDecodeCount(1), 0);
  // Laid out again, the window still knows the picture.
  main->BuildStripView();
  EXPECT_EQ(main->View().PictureDecodeCount(0), 0);
  EXPECT_FALSE(Detail(0).picture->Image().isNull());
}

TEST_F(MainPicturesTest, DamagedOrHugePicturesShowNothingAndNoMessage) {
  TestKey truncated = WithText(1);
  truncated.pictureKind = ".jpg";
  truncated.pictureData = EncodePictureText(logo.left(logo.size() / 2));
  TestKey huge = WithText(2);  // a small bitmap whose header claims 65000 x 65000 pixels
  huge.pictureKind = ".bmp";
  QByteArray bitmap = BitmapBytes(TwoColourImage(4, 4, kRed, kBlue));
  huge.pictureData = EncodePictureText(WithLittleEndian(WithLittleEndian(bitmap, 18, 4, 65000), 22, 4, 65000));
  Open({truncated, huge});
  for (int k : {0, 1}) {
    EXPECT_TRUE(Detail(k).picture->Image().isNull());
    EXPECT_EQ(Detail(k).face->width(), 0);  // a picture kind hides the text all the same
  }
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(MainPicturesTest, DoubleClickOnAPictureOpensTheDialogForThatKey) {
  TestKey key = WithText(2);
  key.pictureKind = ".jpg";
  key.pictureData = EncodePictureText(logo);
  Open({WithText(1), key});
  bool shown = false;
  QTimer::singleShot(0, [&] {
    shown = viewImage->isVisible();
    EXPECT_EQ(viewImage->Picture().size(), QSize(60, 20));
    viewImage->ButtonOK->click();
  });
  QTest::mouseDClick(Detail(1).picture, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  EXPECT_TRUE(shown);
  EXPECT_EQ(Line(1, kPictureKind), QByteArray());  // OK without a file: the picture is gone
  EXPECT_EQ(Line(0, kTextCount), QByteArray("2"));
}

// Pixels of `a` further than a JPEG's tolerance from the pixel of `b` there.
int PixelsApart(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height() + 1;
  int apart = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) apart += !NearColour(a.pixel(x, y), b.pixel(x, y));
  }
  return apart;
}

TEST_F(MainPicturesTest, WideAndTallPicturesShowAsTheRenderedStripDrawsThem) {
  // Split across the short side, where a picture shrunk as a whole would
  // lose the split to one row of averaged colour.
  const QImage tall = TwoColourImage(10, 10000, kRed, kBlue);
  const QImage wide = tall.transformed(QTransform().rotate(90));
  for (const QImage& picture : {wide, tall}) {
    SCOPED_TRACE(picture.width());
    TestKey key = WithText(1);
    key.pictureKind = ".bmp";
    key.pictureData = EncodePictureText(BitmapBytes(picture));
    Open({key});
    const StripPlan plan = PlanStrip(main->Document().lines(), kFirstStripStart);
    for (ViewKind view : {kDetailView, kAllView}) {
      SCOPED_TRACE(view);
      const QRect panel = plan.keys[0].view[view].panel;
      const QImage rendered = RenderStrip(main->Document().lines(), plan, view).copy(panel);
      const QImage shown = main->View().Controls(0, view).panel->grab().toImage().convertToFormat(rendered.format());
      // Scaling may move the split by a pixel.
      EXPECT_LE(PixelsApart(shown, rendered), std::max(panel.width(), panel.height()) * 2);
      // The split is there to see: red at the top left, blue at the bottom right.
      EXPECT_TRUE(NearColour(rendered.pixel(1, 1), kRed.rgb()));
      EXPECT_TRUE(NearColour(rendered.pixel(panel.width() - 2, panel.height() - 2), kBlue.rgb()));
    }
  }
}
