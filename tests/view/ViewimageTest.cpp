// The picture import dialog, driven as a user drives it: 取込み through the
// picture open dialog, クリア, OK against the size limit, ｷｬﾝｾﾙ.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "base/Mainsub.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "view/Viewimage.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

struct ViewimageTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  std::unique_ptr<TSettings> settings = std::make_unique<TSettings>(dir.path());
  std::unique_ptr<TFViewImage> dialog = std::make_unique<TFViewImage>(*settings);

  QString WriteFile(const QString& name, const QByteArray& bytes) {
    QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
    WriteBytes(dir.filePath(name), bytes);
    return dir.filePath(name);
  }
  // Runs the dialog on `current` with `steps` done inside it; a dialog
  // still open afterwards fails the test rather than waiting forever.
  std::optional<ChosenPicture> Choose(const QImage& current, const std::function<void()>& steps) {
    QTimer::singleShot(0, [this, steps] {
      steps();
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the picture dialog stayed open";
        dialog->reject();
      }
    });
    return dialog->ChoosePicture(current);
  }
  void Load(const QString& path) {
    prompts.files.push_back(path);
    dialog->ButtonLoad->click();
  }
  QSize ClientArea() const { return dialog->ScrollBox1->viewport()->size(); }
  QPoint Centred(QSize picture) const {
    const QSize box = ClientArea();
    return QPoint(picture.width() < box.width() ? (box.width() - picture.width()) / 2 : 0,
                  picture.height() < box.height() ? (box.height() - picture.height()) / 2 : 0);
  }
};

// A bitmap file of exactly `size` bytes: a small picture and trailing bytes.
QByteArray BitmapOfSize(qsizetype size) {
  QByteArray bytes = BitmapBytes(TwoColourImage(20, 10, kRed, kBlue));
  bytes.append(QByteArray(size - bytes.size(), '\0'));
  return bytes;
}

}  // namespace

TEST_F(ViewimageTest, SizeAndButtons) {
  EXPECT_EQ(dialog->minimumSize(), QSize(360, 260));
  EXPECT_EQ(dialog->size(), QSize(360, 260));
  EXPECT_EQ(dialog->ButtonCancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  EXPECT_TRUE(dialog->ButtonOK->isDefault());
}

TEST_F(ViewimageTest, SettingsAreReadAndWrittenBack) {
  EXPECT_EQ(dialog->PictureFileSizeMax(), 30720);
  EXPECT_EQ(dialog->OpenPictureFolder(), settings->InProgramFolder(QStringLiteral("ロゴ集")));
  settings->WriteInteger("Data", "PictureFileSizeMax", 50000);
  auto second = std::make_unique<TFViewImage>(*settings);
  EXPECT_EQ(second->PictureFileSizeMax(), 50000);
  second.reset();
  dialog.reset();
  TSettings reread(dir.path());
  EXPECT_EQ(reread.ReadInteger("Data", "PictureFileSizeMax", 0), 30720);
  EXPECT_EQ(reread.ReadString("Dir", "OpenPicture", ""), reread.InProgramFolder(QStringLiteral("ロゴ集")));
  EXPECT_EQ(reread.ReadInteger("Position", "ViewImageLeft", 0), 100);
  EXPECT_EQ(reread.ReadInteger("Position", "ViewImageTop", 0), 100);
}

TEST_F(ViewimageTest, LoadingShowsThePictureCentredAndTheFolderFollowsTheFile) {
  const QByteArray file = BitmapBytes(TwoColourImage(40, 20, kRed, kBlue));
  const QString path = WriteFile("logos/Logo.BMP", file);
  const std::optional<ChosenPicture> chosen = Choose(QImage(), [&] {
    EXPECT_EQ(dialog->LoadedFileSize(), -1);
    EXPECT_EQ(dialog->focusWidget(), dialog->ScrollBox1);
    Load(path);
    EXPECT_EQ(dialog->Image1->size(), QSize(40, 20));
    EXPECT_EQ(dialog->Image1->pos(), Centred(QSize(40, 20)));
    EXPECT_EQ(dialog->LoadedFileName(), path);
    EXPECT_EQ(dialog->LoadedFileSize(), file.size());
    dialog->resize(500, 400);
    EXPECT_EQ(dialog->Image1->pos(), Centred(QSize(40, 20)));
    dialog->ButtonOK->click();
  });
  ASSERT_EQ(prompts.openDialogs.size(), 1);
  const FileDialogSpec& form = prompts.openDialogs[0];
  EXPECT_EQ(form.title, QStringLiteral("画像ﾌｧｲﾙ読み込み"));
  EXPECT_EQ(form.filter, QStringLiteral("画像ﾌｧｲﾙ(*.bmp;*.jpg;*.jpeg)|*.bmp;*.jpg;*.jpeg"));
  EXPECT_EQ(form.folder, settings->InProgramFolder(QStringLiteral("ロゴ集")));
  EXPECT_EQ(form.fileName, QString());
  EXPECT_EQ(dialog->OpenPictureFolder(), dir.filePath("logos"));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->extension, QStringLiteral(".BMP"));
  EXPECT_EQ(chosen->fileBytes, file);
  EXPECT_EQ(chosen->image.size(), QSize(40, 20));
  EXPECT_TRUE(prompts.messages.isEmpty());

  // The next time the dialog opens in that folder, with nothing loaded.
  Choose(QImage(), [&] {
    EXPECT_EQ(dialog->LoadedFileName(), QString());
    Load(WriteFile("logo.jpg", JpegBytes(TwoColourImage(30, 30, kRed, kBlue))));
    dialog->ButtonOK->click();
  });
  EXPECT_EQ(prompts.openDialogs[1].folder, dir.filePath("logos"));
}

TEST_F(ViewimageTest, OkRefusesFilesAboveTheLimit) {
  const struct {
    qsizetype size;
    bool accepted;
  } cases[] = {{30720, true}, {30721, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    prompts.messages.clear();
    const QString path = WriteFile(QStringLiteral("logo%1.bmp").arg(c.size), BitmapOfSize(c.size));
    const std::optional<ChosenPicture> chosen = Choose(QImage(), [&] {
      Load(path);
      EXPECT_EQ(dialog->LoadedFileSize(), c.size);
      dialog->ButtonOK->click();
      EXPECT_EQ(dialog->isVisible(), !c.accepted);  // refused: the user may load another
      if (dialog->isVisible()) dialog->ButtonCancel->click();
    });
    EXPECT_EQ(chosen.has_value(), c.accepted);
    if (c.accepted) {
      EXPECT_TRUE(prompts.messages.isEmpty());
      continue;
    }
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text,
              QStringLiteral("画像ファイルが大きすぎます。30kbyte以下の画像ファイルを選択してください。"));
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
  }
  EXPECT_EQ(TFViewImage::TooLargeText(51199),
            QStringLiteral("画像ファイルが大きすぎます。49kbyte以下の画像ファイルを選択してください。"));
}

TEST_F(ViewimageTest, AFileThatIsNoPictureClearsTheArea) {
  const QString bad = WriteFile("pictures/broken.jpg", QByteArray("\xFF\xD8\xFF not really", 15));
  const std::optional<ChosenPicture> chosen = Choose(TwoColourImage(30, 30, kRed, kBlue), [&] {
    EXPECT_EQ(dialog->Image1->size(), QSize(30, 30));
    Load(bad);
    EXPECT_EQ(dialog->Image1->geometry(), QRect(QPoint(0, 0), ClientArea()));
    EXPECT_EQ(dialog->LoadedFileName(), QString());
    EXPECT_EQ(dialog->LoadedFileSize(), -1);
    dialog->ButtonOK->click();
  });
  EXPECT_EQ(dialog->OpenPictureFolder(), dir.filePath("pictures"));
  EXPECT_TRUE(prompts.messages.isEmpty());
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->extension, QString());
  EXPECT_TRUE(chosen->image.isNull());
  EXPECT_FALSE(dialog->LoadPictureFile(dir.filePath("missing.bmp")));
  EXPECT_FALSE(dialog->LoadPictureFile(WriteFile("logo.png", BitmapOfSize(100))));
}

TEST_F(ViewimageTest, ClearAndCancel) {
  const QImage current = TwoColourImage(30, 30, kRed, kBlue);
  // Cancel hands back nothing, whatever was loaded.
  const QString path = WriteFile("logo.bmp", BitmapBytes(current));
  EXPECT_FALSE(Choose(current, [&] {
    Load(path);
    dialog->ButtonCancel->click();
  }));
  // A cancelled open dialog changes nothing.
  EXPECT_FALSE(Choose(current, [&] {
    prompts.files.push_back(std::nullopt);
    dialog->ButtonLoad->click();
    EXPECT_EQ(dialog->Image1->size(), QSize(30, 30));
    dialog->reject();  // Esc
  }));
  EXPECT_EQ(dialog->OpenPictureFolder(), dir.path());
  // Clear, then OK: no picture.
  const std::optional<ChosenPicture> cleared = Choose(current, [&] {
    Load(path);
    dialog->ButtonClear->click();
    EXPECT_EQ(dialog->LoadedFileSize(), -1);
    EXPECT_EQ(dialog->Image1->size(), ClientArea());
    dialog->resize(600, 500);
    EXPECT_EQ(dialog->Image1->size(), ClientArea());  // the white area follows the window
    dialog->ButtonOK->click();
  });
  ASSERT_TRUE(cleared);
  EXPECT_EQ(cleared->extension, QString());
  EXPECT_TRUE(cleared->fileBytes.isEmpty());
}

TEST_F(ViewimageTest, APictureLargerThanTheBoxStartsAtItsEdgeAndScrolls) {
  const QString path = WriteFile("big.bmp", BitmapBytes(TwoColourImage(900, 700, kRed, kBlue)));
  Choose(QImage(), [&] {
    EXPECT_EQ(dialog->Image1->size(), QSize(0, 0));
    Load(path);
    EXPECT_EQ(dialog->Image1->pos(), QPoint(0, 0));
    EXPECT_GT(dialog->ScrollBox1->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(dialog->ScrollBox1->verticalScrollBar()->maximum(), 0);
    dialog->ButtonCancel->click();
  });
}
