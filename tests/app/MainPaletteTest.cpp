// The main window's key-label palette on its real widgets: start-up, the
// series change, a click on a label, the key-label dialog and its failures.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Main.h"
#include "base/IniFile.h"
#include "base/LineIO.h"
#include "base/Mainsub.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/KeyLabelFile.h"
#include "keylabels/Keylabel.h"
#include "keylabels/PaletteButtons.h"
#include "support/FakePrompts.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/StripView.h"

namespace {

struct MainPaletteTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  std::unique_ptr<TFMain> main;
  std::unique_ptr<TFKeyLabel> dialog;

  void SetUp() override { Start(); }
  void TearDown() override { Stop(); }
  void Start() {
    main = std::make_unique<TFMain>(dir.path());
    dialog = std::make_unique<TFKeyLabel>(main->Settings());
    AppWindows windows;
    windows.keyLabel = dialog.get();
    main->SetWindows(windows);
    main->show();
  }
  void Stop() {
    if (!main) return;
    main->Document().MarkSaved();
    main->SetWindows({});
    dialog.reset();
    main.reset();
  }
  QList<QPushButton*> ButtonsOnTab(int tab) {
    return main->PageControl1->widget(tab)->findChildren<QPushButton*>();
  }
  int AllButtons() { return int(main->PageControl1->findChildren<QPushButton*>().size()); }
  QString Caption(int entry) { return main->KeyLabelButtons().Button(entry)->text(); }
  QStringList KeyLabelFiles() { return QDir(dir.path()).entryList({"VRDKey*"}, QDir::Files); }
  // Runs the key-label command; `inDialog` works the dialog while it is shown.
  void EditKeyLabels(std::function<void(TFKeyLabel&)> inDialog) {
    QTimer::singleShot(0, [&] { inDialog(*dialog); });
    main->ActionKeyLabelEditExecute();
    EXPECT_FALSE(dialog->isVisible());
  }
  // Opens a document with one strip of three editable keys, the middle one
  // with a picture when asked; the detail view is chosen.
  void OpenStrip(QByteArray middlePicture = {}) {
    TestStrip strip;
    TestGroup group;
    TestKey middle = TestKey::Editable(2, {Sj("中")});
    middle.pictureKind = middlePicture;
    group.keys = {TestKey::Editable(1, {Sj("前")}), middle, TestKey::Editable(3, {Sj("一"), Sj("二")})};
    strip.groups = {group};
    const QString path = dir.filePath("site.VRD");
    ASSERT_TRUE(WriteLinesFile(path, DocumentLines({strip})));
    ASSERT_TRUE(main->OpenDataFile(path));
    ASSERT_EQ(main->KeyCount(), 3);
  }
  Lines KeyText(int k) {
    const Lines& lines = main->Document().lines();
    const qsizetype b = main->View().KeyBlockLine(k);
    return lines.mid(b + layout::kFirstText, lines[b + layout::kTextCount].toInt());
  }
  QByteArray KeyLine(int k, int offset) {
    return main->Document().at(main->View().KeyBlockLine(k) + offset);
  }
};

// The defaults of a series with entry `entry` holding `text` in another font.
Lines EditedList(int series, int entry, const Lines& text) {
  Lines list = DefaultKeyLabels(series);
  CommitKeyLabel(&list, entry, {Sj("ＭＳ ゴシック"), 11, 0x0000FF, 0xFFFF00}, text);
  return list;
}

}  // namespace

TEST_F(MainPaletteTest, StartsWithTheDefaultsAndCreatesNoFile) {
  for (int tab = 0; tab < 3; ++tab) EXPECT_EQ(ButtonsOnTab(tab).size(), 20);
  EXPECT_EQ(main->PaletteList(), DefaultKeyLabels(0));
  EXPECT_EQ(Caption(0), QString("内線電話帳"));
  Stop();
  EXPECT_TRUE(KeyLabelFiles().isEmpty());
}

TEST_F(MainPaletteTest, StartsWithTheFileOfTheSavedSeries) {
  Stop();
  ASSERT_TRUE(WriteKeyLabelFile(2, dir.path(), EditedList(2, 21, {Sj("業務コード"), Sj("指定発信")})));
  IniFile(dir.filePath("VRD6S.ini")).WriteInteger("Data", "SelSeriesNo", 2);
  Start();
  EXPECT_EQ(main->CurrentSeries(), 2);
  EXPECT_EQ(ButtonsOnTab(1)[1]->text(), QString("業務コード\n指定発信"));
  EXPECT_EQ(ButtonsOnTab(1)[1]->font().pointSize(), 8);
}

TEST_F(MainPaletteTest, ASeriesChangeRebuildsThePaletteAndLeavesTabAndStripAlone) {
  OpenStrip();
  const Lines document = main->Document().lines();
  ASSERT_TRUE(WriteKeyLabelFile(6, dir.path(), EditedList(6, 15, {Sj("受付")})));
  main->PageControl1->setCurrentIndex(1);
  main->ComboBoxSeries->setCurrentIndex(6);
  main->ComboBoxSeriesChange(6);
  EXPECT_EQ(main->CurrentSeries(), 6);
  EXPECT_EQ(AllButtons(), 45);
  for (int tab = 0; tab < 3; ++tab) EXPECT_EQ(ButtonsOnTab(tab).size(), 15);
  EXPECT_EQ(Caption(15), QString("受付"));
  EXPECT_EQ(main->PageControl1->currentIndex(), 1);
  EXPECT_EQ(main->Document().lines(), document);
  EXPECT_EQ(main->KeyCount(), 3);
  // Back to a series without a file: its defaults.
  main->ComboBoxSeriesChange(1);
  EXPECT_EQ(AllButtons(), 60);
  EXPECT_EQ(main->PaletteList(), DefaultKeyLabels(1));
}

TEST_F(MainPaletteTest, AStripOfAnotherSeriesSwitchesThePalette) {
  TestStrip te;
  TestStrip sip;
  sip.series = Sj("ＳＩＰ対応電話機");
  const QString path = dir.filePath("two.VRD");
  ASSERT_TRUE(WriteLinesFile(path, DocumentLines({te, sip})));
  ASSERT_TRUE(main->OpenDataFile(path));
  EXPECT_EQ(AllButtons(), 60);
  main->ListView1->setCurrentItem(main->ListView1->topLevelItem(1));
  EXPECT_EQ(main->CurrentSeries(), 6);
  EXPECT_EQ(AllButtons(), 45);
  EXPECT_EQ(main->PaletteList(), DefaultKeyLabels(6));
}

TEST_F(MainPaletteTest, AClickHandsTheEntryToTheKeyInTheDetailViewOnly) {
  OpenStrip();
  main->ComboBoxSeriesChange(6);
  const Lines document = main->Document().lines();
  // The all view and an empty display take nothing.
  main->KeyLabelButtons().Button(0)->click();
  EXPECT_EQ(main->Document().lines(), document);

  main->Action("ActionShowDetail")->trigger();
  main->KeyFaceClick(0);  // key 0 selected alone
  Lines entry;
  const KeyLabelFormat format = Myfunc_Get_Label(main->PaletteList(), 1, &entry);
  ASSERT_EQ(entry.size(), 2);  // "業務コード" / "指定発信"
  main->KeyLabelButtons().Button(1)->click();
  EXPECT_EQ(KeyText(0), entry);
  EXPECT_EQ(KeyLine(0, layout::kFontName), format.fontName);
  EXPECT_EQ(KeyLine(0, layout::kFontSize), QByteArray::number(format.fontSize));
  EXPECT_EQ(KeyLine(0, layout::kColorPair), "0,16777215");
  // The keys after it moved with the grown block and still draw their text.
  EXPECT_EQ(KeyText(2), (Lines{Sj("一"), Sj("二")}));
  EXPECT_TRUE(main->Document().IsChanged());

  // An entry without text leaves the key without text lines.
  main->KeyFaceClick(2);
  Lines edited = main->PaletteList();
  ASSERT_EQ(Caption(3).isEmpty(), false);
  EditKeyLabels([](TFKeyLabel& d) {
    d.Buttons().Button(3)->click();
    d.Memo->clear();
    d.Kakutei_Button->click();
    d.OK_Button->click();
  });
  EXPECT_EQ(Caption(3), QString());
  main->KeyLabelButtons().Button(3)->click();
  EXPECT_EQ(KeyText(2), Lines{});
}

TEST_F(MainPaletteTest, EverySelectedKeyWithoutAPictureTakesTheEntry) {
  OpenStrip("bmp");
  main->Action("ActionShowDetail")->trigger();
  main->ShowDetailAtKey(0);
  main->ActionEditAllSelExecute();  // three keys, the middle one with a picture
  Lines entry;
  Myfunc_Get_Label(main->PaletteList(), 5, &entry);
  const QByteArray middle = main->Document().at(main->View().KeyBlockLine(1) + layout::kFirstText);
  main->KeyLabelButtons().Button(5)->click();
  EXPECT_EQ(KeyText(0), entry);
  EXPECT_EQ(KeyText(2), entry);
  EXPECT_EQ(KeyText(1), Lines{middle});
  EXPECT_EQ(KeyLine(1, layout::kPictureKind), "bmp");
}

TEST_F(MainPaletteTest, CancelDoesNotRecaptionCommitAndOkDoes) {
  main->KeyLabelButtons().Button(4)->setText("marker");
  EditKeyLabels([](TFKeyLabel& d) { d.Cancel_Button->click(); });
  EXPECT_EQ(Caption(4), QString("marker"));
  EXPECT_TRUE(KeyLabelFiles().isEmpty());
  EditKeyLabels([](TFKeyLabel& d) { d.close(); });
  EXPECT_EQ(Caption(4), QString("marker"));

  EditKeyLabels([](TFKeyLabel& d) {
    d.Buttons().Button(4)->click();
    d.Memo->setPlainText("受付");
    d.Kakutei_Button->click();
    d.OK_Button->click();
  });
  EXPECT_EQ(Caption(4), QString("受付"));
  EXPECT_EQ(Caption(0), QString("内線電話帳"));
  EXPECT_EQ(KeyLabelFiles(), QStringList{"VRDKey7.ini"});
  Lines file;
  ASSERT_TRUE(ReadLinesFile(dir.filePath("VRDKey7.ini"), &file));
  EXPECT_EQ(file, main->PaletteList());
}

TEST_F(MainPaletteTest, AFailedWriteKeepsTheEditedPaletteAndNamesTheFile) {
  dialog->SetWriter([](int, const QString&, const Lines&) { return false; });
  EditKeyLabels([](TFKeyLabel& d) {
    d.Memo->setPlainText("受付\n案内");
    d.Kakutei_Button->click();
    d.OK_Button->click();
  });
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].title, QString("エラー"));
  EXPECT_TRUE(prompts.messages[0].text.endsWith(QDir::toNativeSeparators(dir.filePath("VRDKey7.ini"))));
  EXPECT_EQ(Caption(0), QString("受付\n案内"));
  EXPECT_TRUE(KeyLabelFiles().isEmpty());
}

TEST_F(MainPaletteTest, AHiddenPaletteStartsHidden) {
  main->Action("ActionKeyLabelShow")->trigger();
  EXPECT_FALSE(main->pnlKeyLabel->isVisible());
  Stop();
  Start();
  EXPECT_FALSE(main->pnlKeyLabel->isVisible());
  EXPECT_FALSE(main->Action("ActionKeyLabelShow")->isChecked());
  EXPECT_EQ(AllButtons(), 60);  // built all the same
}
