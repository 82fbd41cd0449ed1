// The CSV commands of the main window: the export in the chosen file type,
// the import previewed row by row and made as one undo step, and a file
// with a bad row shown in the preview and taken nowhere.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include "document/Csvimport.h"
#include "support/FailingCalls.h"
#include "support/ProgressDialogs.h"
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
    // A long file shows the progress dialog first: wait for the preview.
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* preview = qobject_cast<TFCsvImport*>(QApplication::activeModalWidget());
      if (!preview || shown) return;
      shown = true;
      poll.stop();
      EXPECT_EQ(preview->windowTitle(), QStringLiteral("CSVの取り込み"));
      steps(*preview);
      if (preview->isVisible()) preview->reject();
    });
    poll.start();
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

TEST_F(MainCsvTest, ChangedCellsAreListedAndWarningsWaitForTheUser) {
  QString csv = Exported();
  csv.replace(csv.indexOf(QStringLiteral("外線1")), 3, QStringLiteral("#NAME?"));  // in strip 1 only
  Import(csv, [&](TFCsvImport& preview) {
    QTreeWidgetItem* row = preview.ListViewRows->topLevelItem(0);
    EXPECT_EQ(row->text(2), QStringLiteral("更新（警告 1件）"));
    ASSERT_EQ(row->childCount(), 1);
    EXPECT_TRUE(row->isExpanded());
    EXPECT_TRUE(row->child(0)->text(2).contains(QStringLiteral("外線1 → #NAME?　［警告］表計算ソフトのエラー値です")))
        << row->child(0)->text(2).toStdString();
    // Opening an unchanged row lists nothing; choosing a row shows its whole text.
    preview.ListViewRows->setCurrentItem(row->child(0));
    EXPECT_TRUE(preview.MemoDetail->toPlainText().startsWith(QStringLiteral("2行目 内線番号 201\n更新\n  キー")));
    EXPECT_FALSE(preview.ButtonOk->isEnabled());
    ASSERT_TRUE(preview.CheckAcceptWarnings->isVisibleTo(&preview));
    preview.CheckAcceptWarnings->setChecked(true);
    ASSERT_TRUE(preview.ButtonOk->isEnabled());
    preview.ButtonOk->click();
  });
  EXPECT_EQ(main->History().count(), 1);
}

TEST_F(MainCsvTest, AHeaderErrorStandsWholeInTheDetailAndALongListGoesThroughTheProgressDialogThatStopsIt) {
  Import(QStringLiteral("内線番号,氏名\r\n201,山田\r\n"), [&](TFCsvImport& preview) {
    EXPECT_FALSE(preview.ButtonOk->isEnabled());
    QTreeWidgetItem* item = preview.ListViewRows->topLevelItem(0);
    EXPECT_EQ(item->toolTip(2), item->text(2));
    EXPECT_TRUE(preview.MemoDetail->toPlainText().startsWith(
        QStringLiteral("1行目 氏名: この見出しの列は取り込めません。使える見出しは 内線番号、")));
  });
  EXPECT_FALSE(main->Document().IsChanged());

  QString list = QStringLiteral("内線番号,主装置のシリーズ,示名条のタイプ,キー1\r\n");
  for (int i = 0; i < 600; ++i) list += QStringLiteral("%1,Ｔｅシリーズ主装置,Ｔｅ24ボタン,外線%2\r\n").arg(5000 + i).arg(i);
  {
    // Cancelled while it is read: no preview, nothing changed, and a word that says so.
    CancelProgressOnShow cancel;
    WriteBytes(csvPath, list.toUtf8());
    prompts.files = {csvPath};
    Trigger("ActionFileImportCsv");
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("CSVの取り込みを中止しました。\n示名条データは変わっていません。"));
    EXPECT_FALSE(main->Document().IsChanged());
  }
  Import(list, [&](TFCsvImport& preview) {
    EXPECT_EQ(preview.ListViewRows->topLevelItemCount(), 600);
    preview.ButtonOk->click();
  });
  EXPECT_EQ(main->ListView1->topLevelItemCount(), 606);
}
