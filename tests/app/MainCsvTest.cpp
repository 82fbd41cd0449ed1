// The CSV commands of the main window: the export in the chosen file type,
// the import previewed row by row and made as one undo step, and a file
// with a bad row shown in the preview and taken nowhere.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include "document/Csvimport.h"
#include "support/FailingCalls.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

namespace {

struct MainCsvTest : MainWindowFixture {
  QString sitePath = dir.filePath("site.VRD");
  QString csvPath = dir.filePath("site.csv");

  void SetUp() override {
    for (const QString& name : QDir(SOURCE_DIR "/data").entryList({"*.TPL"}, QDir::Files)) {
      QFile::copy(QStringLiteral(SOURCE_DIR "/data/") + name, dir.filePath(name));
    }
    QFile::copy(QStringLiteral(SOURCE_DIR "/samples/sample.VRD"), sitePath);
    MainWindowFixture::SetUp();
    ASSERT_TRUE(main->OpenDataFile(sitePath));
  }
  // The UTF-8 export, as the window writes it.
  QString Exported() {
    prompts.files = {csvPath};
    prompts.fileTypes = {1};
    Trigger("ActionFileExportCsv");
    const QByteArray bytes = ReadBytes(csvPath);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    return QString::fromUtf8(bytes.mid(3));
  }
  // Imports `csv`; the preview gets `steps` and is closed unless they did.
  void Import(const QString& csv, const std::function<void(TFCsvImport&)>& steps) {
    WriteBytes(csvPath, csv.toUtf8());
    prompts.files = {csvPath};
    bool shown = false;
    QTimer::singleShot(0, [&] {
      auto* preview = qobject_cast<TFCsvImport*>(QApplication::activeModalWidget());
      ASSERT_NE(preview, nullptr);
      shown = true;
      EXPECT_EQ(preview->windowTitle(), QStringLiteral("CSVの取り込み"));
      steps(*preview);
      if (preview->isVisible()) preview->reject();
    });
    Trigger("ActionFileImportCsv");
    EXPECT_TRUE(shown);
  }
  QString Outcome(TFCsvImport& preview, int row) { return preview.ListViewRows->topLevelItem(row)->text(2); }
};

}  // namespace

TEST_F(MainCsvTest, TheImportIsPreviewedAndMadeAsOneUndoStep) {
  const Lines opened = main->Document().lines();
  QString csv = Exported();
  csv.replace(csv.indexOf(QStringLiteral("外線1")), 3, QStringLiteral("外線１"));  // in strip 1 only
  csv += QStringLiteral("999,新設,,Ｔｅシリーズ主装置,Ｔｅ24ボタン\r\n");
  Import(csv, [&](TFCsvImport& preview) {
    ASSERT_EQ(preview.ListViewRows->topLevelItemCount(), 7);
    EXPECT_EQ(Outcome(preview, 0), QStringLiteral("更新"));
    EXPECT_EQ(Outcome(preview, 1), QStringLiteral("変更なし"));
    EXPECT_EQ(Outcome(preview, 6), QStringLiteral("作成"));
    ASSERT_TRUE(preview.ButtonOk->isEnabled());
    preview.ButtonOk->click();
  });
  ASSERT_EQ(main->ListView1->topLevelItemCount(), 7);
  EXPECT_EQ(main->ListView1->topLevelItem(6)->text(2), QStringLiteral("999"));
  EXPECT_EQ(main->CurrentStripNumber(), 1);
  EXPECT_EQ(main->History().count(), 1);
  EXPECT_EQ(main->Action("ActionEditUndo")->text(), QStringLiteral("元に戻す(&U): CSVから取り込み"));
  Trigger("ActionEditUndo");
  EXPECT_EQ(main->Document().lines(), opened);
  EXPECT_EQ(main->ListView1->topLevelItemCount(), 6);
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(MainCsvTest, ABadRowIsShownAndNothingChanges) {
  QString csv = Exported();
  csv.replace(QStringLiteral("外線1"), QStringLiteral("あいうえおかきくけこ1"));
  Import(csv, [&](TFCsvImport& preview) {
    EXPECT_FALSE(preview.ButtonOk->isEnabled());
    EXPECT_TRUE(Outcome(preview, 0).contains(QStringLiteral("21バイトです"))) << Outcome(preview, 0).toStdString();
    preview.ButtonCancel->click();
  });
  EXPECT_FALSE(main->Document().IsChanged());
  EXPECT_EQ(main->History().count(), 0);
}

TEST_F(MainCsvTest, AnExportOntoAFullDiskSaysSoAndLeavesTheOldFile) {
  WriteBytes(csvPath, "old");
  {
    FailingCalls disk;
    disk.diskBytes = 100;
    prompts.files = {csvPath};
    Trigger("ActionFileExportCsv");
  }
  EXPECT_EQ(ReadBytes(csvPath), QByteArray("old"));
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_TRUE(prompts.messages[0].text.startsWith(QStringLiteral("CSVファイルを保存できませんでした。")));
}
