// The key-label dialog on its real widgets: choosing entries and tabs, the
// working values, commit, restoring the defaults, OK, Cancel, Esc, the close
// box, and a failed write.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "base/Mainsub.h"
#include "document/Series.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/KeyLabelFile.h"
#include "keylabels/Keylabel.h"
#include "keylabels/PaletteButtons.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"

namespace {

struct KeylabelDialogTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  TSettings settings{dir.path()};
  TFKeyLabel dialog{settings};
  Lines list;
  Lines labelLines;
  int series = 3;

  void Open(int s) {
    series = s;
    Myfunc_Load_Label(series, dir.path(), &list);
    dialog.Open({series, dir.path(), &list, &labelLines, {"ＭＳ 明朝t", "ＭＳ ゴシックt", "Fixedu"}});
  }
  QString FilePath() { return KeyLabelFilePath(series, dir.path()); }
  Lines FileLines() {
    Lines lines;
    EXPECT_TRUE(ReadLinesFile(FilePath(), &lines));
    return lines;
  }
  // Types `text` into the memo of the current entry and commits it.
  void Commit(const QString& text) {
    dialog.Memo->setPlainText(text);
    dialog.Kakutei_Button->click();
  }
  Lines EntryText(const Lines& from, int entry) {
    Lines text;
    Myfunc_Get_Label(from, entry, &text);
    return text;
  }
  QStringList FilesInFolder() { return QDir(dir.path()).entryList({"VRDKey*"}, QDir::Files); }
};

}  // namespace

TEST_F(KeylabelDialogTest, OpensOnTheFirstEntryOfTheTabLastShown) {
  Open(3);
  EXPECT_EQ(dialog.windowTitle(), QString("キーラベル設定"));
  EXPECT_EQ(dialog.Buttons().Count(), 60);
  EXPECT_EQ(dialog.CurrentEntry(), 0);
  EXPECT_TRUE(dialog.Buttons().Button(0)->isChecked());
  EXPECT_EQ(dialog.ComboBoxFontSize->count(), 20);
  EXPECT_EQ(dialog.ComboBoxFont->count(), 3);
  EXPECT_EQ(dialog.ComboBoxFont->itemText(2), QString("Fixed"));
  EXPECT_EQ(dialog.ComboBoxFont->currentText(), QString("ＭＳ 明朝"));
  EXPECT_EQ(MemoLines(dialog.Memo->toPlainText()), EntryText(DefaultKeyLabels(3), 0));
  // Another tab: its first entry, pressed; the dialog reopens there.
  dialog.PageControl->setCurrentIndex(2);
  EXPECT_EQ(dialog.CurrentEntry(), 40);
  EXPECT_TRUE(dialog.Buttons().Button(40)->isChecked());
  dialog.Cancel_Button->click();
  EXPECT_EQ(dialog.Buttons().Count(), 0);
  Open(6);
  EXPECT_EQ(dialog.PageControl->currentIndex(), 2);
  EXPECT_EQ(dialog.CurrentEntry(), 30);
  EXPECT_EQ(dialog.Buttons().Count(), 45);
}

TEST_F(KeylabelDialogTest, AnEntryShowsInItsFontSizeAndColoursUnlistedValuesShowTheFirstItem) {
  Open(6);
  CommitKeyLabel(&list, 5, {Sj("ＭＳ ゴシック"), 14, 0x0000FF, 0x00FF00}, {Sj("業務コード"), Sj("指定発信")});
  CommitKeyLabel(&list, 6, {Sj("無い書体"), 13, 0, kWinWhite}, {Sj("外線")});
  dialog.Buttons().Button(5)->click();
  EXPECT_EQ(dialog.Memo->toPlainText(), QString("業務コード\n指定発信"));
  EXPECT_EQ(dialog.Memo->font().family(), QString("ＭＳ ゴシック"));
  EXPECT_EQ(dialog.Memo->font().pointSize(), 14);
  EXPECT_EQ(dialog.Memo->palette().color(QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(dialog.Memo->palette().color(QPalette::Base), QColor(0, 255, 0));
  EXPECT_EQ(dialog.ComboBoxFont->currentText(), QString("ＭＳ ゴシック"));
  EXPECT_EQ(dialog.ComboBoxFontSize->currentText(), QString("14"));
  dialog.Buttons().Button(6)->click();
  EXPECT_EQ(dialog.ComboBoxFont->currentIndex(), 0);
  EXPECT_EQ(dialog.ComboBoxFontSize->currentText(), QString("4"));
  EXPECT_EQ(dialog.Working().fontName, Sj("無い書体"));
  EXPECT_EQ(dialog.Working().fontSize, 13);
}

TEST_F(KeylabelDialogTest, WorkingValuesReachTheListOnlyThroughCommit) {
  Open(3);
  const Lines before = list;
  dialog.ComboBoxFont->setCurrentIndex(1);
  dialog.ComboBoxFontChange(1);
  dialog.ComboBoxFontSize->setCurrentIndex(9);
  dialog.ComboBoxFontSizeChange(9);
  prompts.colors = {QColor(0, 0, 255), std::nullopt};
  dialog.Color_Button->click();
  dialog.BColor_Button->click();  // cancelled: nothing changes
  EXPECT_EQ(dialog.Working().fontName, Sj("ＭＳ ゴシック"));
  EXPECT_EQ(dialog.Working().fontSize, 14);
  EXPECT_EQ(dialog.Working().fontColor, 0xFF0000);
  EXPECT_EQ(dialog.Working().backColor, kWinWhite);
  EXPECT_EQ(dialog.Memo->font().pointSize(), 14);
  EXPECT_EQ(dialog.Memo->palette().color(QPalette::Text), QColor(0, 0, 255));
  EXPECT_EQ(list, before);
  // Another entry drops what was not committed.
  dialog.Buttons().Button(1)->click();
  EXPECT_EQ(list, before);
  dialog.Buttons().Button(0)->click();
  EXPECT_EQ(dialog.Working().fontName, Sj("ＭＳ 明朝"));

  dialog.ComboBoxFontChange(1);
  prompts.colors = {QColor(0, 0, 255)};
  dialog.Color_Button->click();
  Commit("業務コード\n指定発信\n三行目");
  EXPECT_EQ(list.mid(0, 7), (Lines{Sj("ＭＳ ゴシック"), DefaultKeyLabels(3)[1], "16711680,16777215", "3", Sj("業務コード"),
                                   Sj("指定発信"), Sj("三行目")}));
  EXPECT_EQ(dialog.Buttons().Button(0)->text(), QString("業務コード\n指定発信"));
  EXPECT_TRUE(dialog.Kakutei_Button->isEnabled());
  // An empty memo stores no line and a blank button.
  dialog.Buttons().Button(1)->click();
  Commit("");
  EXPECT_EQ(EntryText(list, 1), Lines{});
  EXPECT_EQ(dialog.Buttons().Button(1)->text(), QString());
  EXPECT_TRUE(IsWellFormedPaletteList(list, 3));
}

TEST_F(KeylabelDialogTest, OkWritesTheSeriesFileNoFileBeforeIt) {
  for (int s : {3, 0}) {
    Open(s);
    Commit("受付");
    EXPECT_TRUE(FilesInFolder().isEmpty());
    dialog.OK_Button->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(FilesInFolder(), QStringList{s == 3 ? "VRDKey1.ini" : "VRDKey7.ini"});
    EXPECT_EQ(FileLines(), list);
    EXPECT_TRUE(ReadBytes(FilePath()).endsWith("\r\n"));
    QFile::remove(FilePath());
  }
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(KeylabelDialogTest, RestoringTheDefaultsThenCancelGivesTheFileBack) {
  Open(2);
  Commit("受付");
  dialog.OK_Button->click();
  const Lines file = FileLines();
  Open(2);
  dialog.InitRet_Button->click();
  EXPECT_EQ(list, DefaultKeyLabels(2));
  EXPECT_EQ(dialog.Buttons().Button(0)->text(), QString("内線電話帳"));
  EXPECT_EQ(MemoLines(dialog.Memo->toPlainText()), EntryText(DefaultKeyLabels(2), 0));
  dialog.Cancel_Button->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(list, file);
  EXPECT_EQ(FileLines(), file);
}

TEST_F(KeylabelDialogTest, RestoringTheDefaultsThenOkWritesThemWithCommittedEntriesOnly) {
  Open(4);
  Commit("受付");
  dialog.OK_Button->click();
  Open(4);
  dialog.InitRet_Button->click();
  dialog.Buttons().Button(7)->click();
  Commit("外線");
  dialog.OK_Button->click();
  const Lines file = FileLines();
  for (int i = 0; i < PaletteEntryCount(4); ++i) {
    const QByteArray pair = file[PaletteEntryLine(file, i) + palette::kColorPair];
    EXPECT_EQ(pair, i == 7 ? QByteArray("0,16777215") : QByteArray("0")) << i;
  }
  Lines expected = DefaultKeyLabels(4);
  Lines old;
  CommitKeyLabel(&expected, 7, Myfunc_Get_Label(expected, 7, &old), {Sj("外線")});
  EXPECT_EQ(file, expected);
}

TEST_F(KeylabelDialogTest, EscReloadsTheCloseBoxKeepsTheEditsUnwritten) {
  Open(5);
  Commit("受付");
  const Lines edited = list;
  dialog.show();
  dialog.close();  // the close box
  EXPECT_EQ(list, edited);
  EXPECT_TRUE(FilesInFolder().isEmpty());
  EXPECT_EQ(dialog.Buttons().Count(), 0);
  Open(5);
  Commit("受付２");
  dialog.show();
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(list, DefaultKeyLabels(5));
  EXPECT_TRUE(FilesInFolder().isEmpty());
}

TEST_F(KeylabelDialogTest, AFailedWriteIsToldByNameTheEditsStayInMemory) {
  Open(3);
  Commit("受付");
  dialog.OK_Button->click();
  const QByteArray good = ReadBytes(FilePath());
  Open(3);
  dialog.Buttons().Button(2)->click();
  Commit("夜間");
  const Lines edited = list;
  int writes = 0;
  dialog.SetWriter([&](int, const QString&, const Lines&) {
    ++writes;
    return false;
  });
  dialog.show();
  dialog.OK_Button->click();
  EXPECT_EQ(writes, 1);
  EXPECT_FALSE(dialog.isVisible());
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].title, QString("エラー"));
  EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
  EXPECT_EQ(prompts.messages[0].text,
            QString("キーラベルファイルを保存できませんでした。\n") + QDir::toNativeSeparators(FilePath()));
  EXPECT_EQ(list, edited);
  EXPECT_EQ(ReadBytes(FilePath()), good);
}
