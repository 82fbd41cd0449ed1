// A key's picture fields in the document: attaching empties the text of the
// keys it is given and leaves every other key's lines where they belong;
// removing keeps the text; drawing stretches the picture over the text area.
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "document/StripDocument.h"
#include "support/RunVrdtool.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "view/KeyPicture.h"
#include "view/PictureCodec.h"
#include "view/StripRenderer.h"

using namespace layout;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// Three keys of one, two and no text lines; key 1 may carry a picture.
TestStrip ThreeKeys(const PictureFields& keyOnePicture = {}) {
  TestKey one = TestKey::Editable(1, {Sj("代表")});
  TestKey two = TestKey::Editable(2, {Sj("外線"), Sj("転送")});
  two.pictureKind = keyOnePicture.kind;
  two.pictureData = keyOnePicture.data;
  TestKey three = TestKey::Editable(3);
  TestGroup group;
  group.keys = {one, two, three};
  for (int i = 0; i < 3; ++i) {  // side by side
    group.keys[i].x = QByteArray::number(1 + 20 * i);
    group.keys[i].textX = QByteArray::number(2 + 20 * i);
  }
  TestStrip strip;
  strip.groups = {group};
  return strip;
}

struct Doc {
  StripDocument document;
  explicit Doc(const TestStrip& strip) { document.SetLines(DocumentLines({strip})); }
  qsizetype Key(int k) const { return KeyBlockLine(document.lines(), kFirstStripStart, k); }
  QByteArray Line(int k, int line) const { return document.at(Key(k) + line); }
  Lines Text(int k) const {
    return document.lines().mid(Key(k) + kFirstText, document.at(Key(k) + kTextCount).toInt());
  }
};

PictureFields BitmapPicture() {
  return {".bmp", EncodePictureText(BitmapBytes(TwoColourImage(8, 4, kRed, kBlue)))};
}

}  // namespace

TEST(KeyPicture, AttachEmptiesTheGivenKeysAndSetsThePicture) {
  const PictureFields picture = BitmapPicture();
  const struct {
    const char* what;
    QList<int> emptied;
    int pictureKey;
  } cases[] = {
      {"the picture key alone", {1}, 1},
      {"a key before it and the key itself", {0, 1}, 1},
      {"keys given out of order", {2, 1, 0}, 1},
      {"a key after it", {2, 1}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Doc d(ThreeKeys());
    const Lines untouched = d.Text(0);
    QList<qsizetype> lines;
    for (int k : c.emptied) lines.append(d.Key(k));
    const qsizetype at = AttachPicture(d.document, lines, d.Key(c.pictureKey), picture);
    EXPECT_EQ(at, d.Key(c.pictureKey));
    for (int k = 0; k < 3; ++k) {
      const bool emptied = c.emptied.contains(k);
      if (emptied) {
        EXPECT_EQ(d.Line(k, kTextCount), QByteArray("0")) << k;
      } else if (k == 0) {
        EXPECT_EQ(d.Text(0), untouched);
      }
      EXPECT_EQ(d.Line(k, kKeyNumber), QByteArray::number(k + 1));  // every block where it belongs
    }
    EXPECT_EQ(d.Line(1, kPictureKind), picture.kind);
    EXPECT_EQ(d.Line(1, kPictureData), picture.data);
    EXPECT_TRUE(d.document.IsChanged());
  }
}

TEST(KeyPicture, AttachWithoutAFileLeavesNoPictureAndNoText) {
  Doc d(ThreeKeys(BitmapPicture()));
  AttachPicture(d.document, {d.Key(1)}, d.Key(1), PictureFields());
  EXPECT_EQ(d.Line(1, kPictureKind), QByteArray());
  EXPECT_EQ(d.Line(1, kPictureData), QByteArray());
  EXPECT_EQ(d.Line(1, kTextCount), QByteArray("0"));
  EXPECT_FALSE(HasPicture(d.document.lines(), d.Key(1)));
}

TEST(KeyPicture, AttachOnADamagedCountChangesNothing) {
  TestStrip strip = ThreeKeys();
  strip.groups[0].keys[0].textCount = "x";
  StripDocument document;
  document.SetLines(DocumentLines({strip}));
  document.MarkSaved();
  const qsizetype key0 = kFirstStripStart + kFirstGroup + kGroupHeaderLines;
  EXPECT_THROW(AttachPicture(document, {key0}, key0, BitmapPicture()), DocumentError);
  EXPECT_FALSE(document.IsChanged());
}

TEST(KeyPicture, RemoveKeepsTheTextLines) {
  Doc d(ThreeKeys(BitmapPicture()));
  EXPECT_TRUE(HasPicture(d.document.lines(), d.Key(1)));
  RemovePicture(d.document, d.Key(1));
  EXPECT_EQ(d.Line(1, kPictureKind), QByteArray());
  EXPECT_EQ(d.Line(1, kPictureData), QByteArray());
  EXPECT_EQ(d.Text(1), Lines({Sj("外線"), Sj("転送")}));
}

TEST(KeyPicture, DrawStretchesThePictureOverTheRectangle) {
  Doc d(ThreeKeys(BitmapPicture()));
  QImage canvas(200, 100, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  EXPECT_TRUE(DrawKeyPicture(painter, QRectF(20, 10, 100, 30), d.document.lines(), d.Key(1)));
  EXPECT_FALSE(DrawKeyPicture(painter, QRectF(20, 50, 100, 30), d.document.lines(), d.Key(0)));
  painter.end();
  // Eight by four pixels over 100 x 30: red up to x 70, blue from 70 to 120.
  EXPECT_EQ(canvas.pixel(20, 10), kRed.rgb());
  EXPECT_EQ(canvas.pixel(69, 39), kRed.rgb());
  EXPECT_EQ(canvas.pixel(70, 10), kBlue.rgb());
  EXPECT_EQ(canvas.pixel(119, 39), kBlue.rgb());
  EXPECT_EQ(canvas.pixel(120, 20), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.pixel(20, 40), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.pixel(19, 20), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.pixel(50, 60), qRgb(255, 255, 255));  // no picture: nothing drawn
}

TEST(KeyPicture, RenderedStripShowsThePictureInsteadOfTheText) {
  const PictureFields picture = BitmapPicture();
  for (ViewKind view : {kDetailView, kAllView}) {
    SCOPED_TRACE(view);
    const Lines plain = DocumentLines({ThreeKeys()});
    const Lines withPicture = DocumentLines({ThreeKeys(picture)});
    const StripPlan plan = PlanStrip(withPicture, kFirstStripStart);
    const QImage image = RenderStrip(withPicture, plan, view);
    const QRect panel = plan.keys[1].view[view].panel;
    ASSERT_FALSE(panel.isEmpty());
    // Red on the left half, blue on the right, over the whole panel.
    int others = 0;
    for (int y = panel.top(); y <= panel.bottom(); ++y) {
      for (int x = panel.left(); x <= panel.right(); ++x) {
        const QRgb expected = x < panel.left() + panel.width() / 2 - 1 ? kRed.rgb()
                            : x > panel.left() + panel.width() / 2 + 1 ? kBlue.rgb()
                                                                        : image.pixel(x, y);
        if (image.pixel(x, y) != expected) ++others;
      }
    }
    EXPECT_EQ(others, 0);
    // The other keys are drawn as without the picture.
    const QImage before = RenderStrip(plain, PlanStrip(plain, kFirstStripStart), view);
    const QRect key0 = plan.keys[0].view[view].panel;
    EXPECT_EQ(image.copy(key0), before.copy(key0));
  }
}

TEST(KeyPicture, MemoDecodesOnlyWhenThePictureChanges) {
  Doc d(ThreeKeys(BitmapPicture()));
  KeyPictureMemo memo;
  const QImage first = memo.Picture(d.document.lines(), d.Key(1));
  memo.Picture(d.document.lines(), d.Key(1));
  EXPECT_EQ(memo.DecodeCount(), 1);
  EXPECT_EQ(first.size(), QSize(8, 4));
  RemovePicture(d.document, d.Key(1));
  EXPECT_TRUE(memo.Picture(d.document.lines(), d.Key(1)).isNull());
  AttachPicture(d.document, {}, d.Key(1), BitmapPicture());
  EXPECT_FALSE(memo.Picture(d.document.lines(), d.Key(1)).isNull());
  EXPECT_EQ(memo.DecodeCount(), 2);
}

TEST(KeyPicture, VrdtoolRenderDrawsThePicture) {
  if (!QFileInfo::exists(QStringLiteral(BUILD_DIR "/vrdtool"))) GTEST_SKIP() << "vrdtool is not built";
  QTemporaryDir dir;
  const PictureFields picture = {".JPG", EncodePictureText(JpegBytes(TwoColourImage(40, 20, kRed, kBlue)))};
  const Lines lines = DocumentLines({ThreeKeys(picture)});
  ASSERT_TRUE(WriteLinesFile(dir.filePath("logo.VRD"), lines));
  const QString png = dir.filePath("strip.png");
  const VrdtoolRun run = RunVrdtool({"render", dir.filePath("logo.VRD"), "1", png});
  ASSERT_EQ(run.exitCode, 0) << run.Err().toStdString();
  const QImage image(png);
  const QRect panel = PlanStrip(lines, kFirstStripStart).keys[1].view[kDetailView].panel;
  EXPECT_TRUE(NearColour(image.pixel(panel.left() + 2, panel.center().y()), kRed.rgb()));
  EXPECT_TRUE(NearColour(image.pixel(panel.right() - 2, panel.center().y()), kBlue.rgb()));
}
