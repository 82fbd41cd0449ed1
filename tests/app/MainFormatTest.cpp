// The formatting commands on the real window: tool bar buttons, boxes, menu
// items and the scripted colour and font dialogs. After each command the
// document equals the one built with the expected key format, byte for byte.
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStyleOptionMenuItem>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/Main.h"
#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "support/FakePrompts.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/StripView.h"

namespace {

// Three keys side by side, and a second strip after them.
TestStrip FormatStrip() {
  TestGroup group;
  group.width = "70";
  for (int i = 0; i < 3; ++i) {
    TestKey key = TestKey::Editable(i + 1, {"KEY"});
    key.x = key.labelX = QByteArray::number(1 + i * 22);
    key.textX = QByteArray::number(3 + i * 22);
    group.keys.append(key);
  }
  TestStrip strip;
  strip.groups = {group};
  return strip;
}

struct MainFormatTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  QList<TestStrip> strips{FormatStrip(), FormatStrip()};
  std::unique_ptr<TFMain> main = std::make_unique<TFMain>(dir.path());

  void SetUp() override {
    strips[1].extension = "202";
    main->show();
    main->Action("ActionShowDetail")->trigger();
  }
  void TearDown() override {
    main->Document().MarkSaved();
    main.reset();
  }
  void Open() {
    const QString path = dir.filePath("site.VRD");
    ASSERT_TRUE(WriteLinesFile(path, DocumentLines(strips)));
    ASSERT_TRUE(main->OpenDataFile(path));
  }
  TestKey& Key(int k) { return strips[0].groups[0].keys[k]; }
  QToolButton* Button(const char* name) { return main->findChild<QToolButton*>(QString::fromLatin1(name)); }
  void SelectAll() { main->Action("ActionEditAllSel")->trigger(); }
  void ExpectDocument() { EXPECT_EQ(main->Document().lines(), DocumentLines(strips)); }
  void TypeSize(const QString& text) {
    QLineEdit* edit = main->ComboBoxFontSize->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  int FontIndex(const char* name) { return main->ComboBoxFont->findText(QString::fromUtf8(name)); }
};

}  // namespace

TEST_F(MainFormatTest, BoldOnThreeKeysWritesOneAndThenZeroIntoAll) {
  Key(1).bold = "1";
  Open();
  SelectAll();
  ASSERT_EQ(main->SelectedKeys().size(), 3u);
  ASSERT_FALSE(main->ToolButtonBold->isChecked());  // key 0 shows
  QTest::mouseClick(main->ToolButtonBold, Qt::LeftButton);
  for (int k : {0, 1, 2}) Key(k).bold = "1";
  ExpectDocument();
  QTest::mouseClick(main->ToolButtonBold, Qt::LeftButton);
  for (int k : {0, 1, 2}) Key(k).bold = "0";
  ExpectDocument();
  // The editors take the new format; the strip is not laid out again.
  EXPECT_FALSE(main->View().Editor(2)->font().bold());
  QTest::mouseClick(main->ToolButtonItalic, Qt::LeftButton);
  for (int k : {0, 1, 2}) Key(k).italic = "1";
  ExpectDocument();
  EXPECT_TRUE(main->View().Editor(2)->font().italic());
}

TEST_F(MainFormatTest, ColourDialogsWriteTheirColourAndStartFromTheLastOne) {
  Key(0).colors = "255";
  Open();
  SelectAll();
  prompts.colors.push_back(QColor(0, 255, 0));  // 65280
  QTest::mouseClick(Button("ToolButtonBColor"), Qt::LeftButton);
  Key(0).colors = "255,65280";
  Key(1).colors = Key(2).colors = "0,65280";
  ExpectDocument();
  prompts.colors.push_back(QColor(0, 0, 255));
  prompts.colors.push_back(std::nullopt);
  QTest::mouseClick(Button("ToolButtonColor"), Qt::LeftButton);
  main->Action("ActionFormatBColor")->trigger();  // cancelled: nothing changes
  for (int k : {0, 1, 2}) Key(k).colors = "16711680,65280";
  ExpectDocument();
  EXPECT_EQ(prompts.colorDialogs, (QList<QColor>{Qt::black, QColor(0, 255, 0), QColor(0, 0, 255)}));
  EXPECT_EQ(main->View().Editor(1)->palette().color(QPalette::Base), QColor(0, 255, 0));
}

TEST_F(MainFormatTest, AlignmentFromButtonsAndMenuItemsAsRadioGroups) {
  Open();
  main->Action("ActionEditAllSel")->trigger();
  QTest::mouseClick(main->ToolButtonRight, Qt::LeftButton);
  for (int k : {0, 1, 2}) Key(k).align = "3";
  ExpectDocument();
  EXPECT_TRUE(main->ToolButtonRight->isChecked());
  EXPECT_FALSE(main->ToolButtonCenter->isChecked());
  EXPECT_TRUE(main->Action("ActionFormatRight")->isChecked());
  EXPECT_FALSE(main->Action("ActionFormatCenter")->isChecked());
  main->Action("ActionFormatLeft")->trigger();
  for (int k : {0, 1, 2}) Key(k).align = "1";
  ExpectDocument();
  EXPECT_TRUE(main->ToolButtonLeft->isChecked());
  EXPECT_FALSE(main->ToolButtonRight->isChecked());
  EXPECT_TRUE(main->Action("ActionFormatLeft")->isChecked());
  EXPECT_FALSE(main->Action("ActionFormatRight")->isChecked());
  // Choosing the checked item again keeps it checked.
  main->Action("ActionFormatLeft")->trigger();
  EXPECT_TRUE(main->Action("ActionFormatLeft")->isChecked());
  main->Action("ActionShowDetail")->trigger();
  EXPECT_TRUE(main->Action("ActionShowDetail")->isChecked());
  EXPECT_FALSE(main->Action("ActionShowAll")->isChecked());
  // Both pairs are exclusive groups, which menus draw as radio items.
  for (const char* name : {"ActionShowDetail", "ActionShowAll", "ActionFormatLeft", "ActionFormatCenter",
                           "ActionFormatRight"}) {
    QActionGroup* group = main->Action(QString::fromLatin1(name))->actionGroup();
    ASSERT_NE(group, nullptr) << name;
    EXPECT_TRUE(group->isExclusive()) << name;
  }
  EXPECT_NE(main->Action("ActionShowAll")->actionGroup(), main->Action("ActionFormatLeft")->actionGroup());
}

TEST_F(MainFormatTest, SizeBoxAppliesEachTypedIntegerAboveZero) {
  Open();
  SelectAll();
  TypeSize("1");
  for (int k : {0, 1, 2}) Key(k).size = "1";
  ExpectDocument();
  const QImage small = main->View().Controls(0, kDetailView).face->Image();
  const QImage smallAll = main->View().Controls(0, kAllView).face->Image();
  QTest::keyClicks(main->ComboBoxFontSize->lineEdit(), "4");
  for (int k : {0, 1, 2}) Key(k).size = "14";
  ExpectDocument();
  // Both views draw the new size (not the one of the layout).
  EXPECT_NE(main->View().Controls(0, kDetailView).face->Image(), small);
  EXPECT_NE(main->View().Controls(0, kAllView).face->Image(), smallAll);
  for (const char* ignored : {"0", "x"}) {
    TypeSize(ignored);
    ExpectDocument();
  }
  EXPECT_EQ(main->SelectedKeys().size(), 3u);  // working in the tool bar keeps the selection
}

TEST_F(MainFormatTest, FontBoxShowsTheKeysFontAndWritesTheChosenOne) {
  Key(0).font = "NoSuchFontFamily";
  Key(1).font = Sj("ＭＳ Ｐゴシック");
  Key(1).size = "11";
  Key(1).bold = "1";
  Key(1).align = "3";
  Open();
  ASSERT_GT(main->ComboBoxFont->count(), 4);
  EXPECT_EQ(main->ComboBoxFont->currentIndex(), 0);  // key 0 after the layout: the first family
  EXPECT_EQ(main->ComboBoxFontSize->currentText(), QStringLiteral("9"));
  QTest::mouseClick(main->View().Controls(1, kDetailView).face, Qt::LeftButton);
  EXPECT_EQ(main->ComboBoxFont->currentText(), QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_EQ(main->ComboBoxFontSize->currentText(), QStringLiteral("11"));
  EXPECT_TRUE(main->ToolButtonBold->isChecked());
  EXPECT_TRUE(main->ToolButtonRight->isChecked());
  QTest::mouseClick(main->View().Controls(0, kDetailView).face, Qt::LeftButton);
  EXPECT_EQ(main->ComboBoxFont->currentIndex(), 0);  // not installed: the first family
  EXPECT_FALSE(main->ToolButtonBold->isChecked());
  EXPECT_TRUE(main->ToolButtonCenter->isChecked());
  EXPECT_FALSE(main->ToolButtonRight->isChecked());
  ExpectDocument();  // showing a key's format writes nothing
  EXPECT_FALSE(main->Document().IsChanged());

  SelectAll();
  main->ComboBoxFont->setCurrentIndex(FontIndex("ＭＳ ゴシック"));
  for (int k : {0, 1, 2}) Key(k).font = Sj("ＭＳ ゴシック");
  ExpectDocument();
}

TEST_F(MainFormatTest, FontListHasPlainNamesOnceAndTheMsNames) {
  main->show();
  QStringList names;
  for (int i = 0; i < main->ComboBoxFont->count(); ++i) names << main->ComboBoxFont->itemText(i);
  for (const char* ms : {"ＭＳ 明朝", "ＭＳ Ｐ明朝", "ＭＳ ゴシック", "ＭＳ Ｐゴシック"}) {
    EXPECT_EQ(names.count(QString::fromUtf8(ms)), 1) << ms;
  }
  EXPECT_EQ(names.count(QStringLiteral("IPAGothic")), 1);
  for (const QString& name : names) {
    EXPECT_FALSE(name.endsWith(']')) << name.toStdString();
    EXPECT_EQ(names.count(name), 1) << name.toStdString();
  }
  EXPECT_FALSE(names.contains(QStringLiteral("Sans Serif")));
  ASSERT_EQ(main->FontList().size(), names.size());
  EXPECT_EQ(main->FontList()[0], QStringLiteral("ＭＳ 明朝t"));
}

TEST_F(MainFormatTest, FontDialogPresetFromTheCurrentKeyAndAppliedToTheSelection) {
  // (A size that is no number stops the layout; the preset's 10 for it is
  // covered with the plain reads.)
  Key(0).size = "11";
  Key(0).colors = "255,65280";
  Key(0).italic = "1";
  Open();
  SelectAll();
  QFont chosen(QStringLiteral("IPAGothic"));
  chosen.setPointSize(16);
  chosen.setBold(true);
  prompts.fonts.push_back(chosen);
  prompts.fontColors.push_back(QColor(0, 0, 255));
  main->Action("ActionFormatFont")->trigger();
  ASSERT_EQ(prompts.fontDialogs.size(), 1);
  EXPECT_EQ(prompts.fontDialogs[0].font.family(), QStringLiteral("IPAMincho"));  // the stand-in shows
  EXPECT_EQ(prompts.fontDialogs[0].font.pointSize(), 11);
  EXPECT_TRUE(prompts.fontDialogs[0].font.italic());
  EXPECT_FALSE(prompts.fontDialogs[0].font.bold());
  EXPECT_EQ(prompts.fontDialogs[0].color, QColor(255, 0, 0));
  for (int k : {0, 1, 2}) {
    Key(k).font = Sj("ＭＳ ゴシック");  // written under the name it stands in for
    Key(k).size = "16";
    Key(k).bold = "1";
    Key(k).italic = "0";
  }
  Key(0).colors = "16711680,65280";
  Key(1).colors = Key(2).colors = "16711680,16777215";
  ExpectDocument();
  EXPECT_EQ(main->ComboBoxFontSize->currentText(), QStringLiteral("16"));  // shown again
  EXPECT_TRUE(main->ToolButtonBold->isChecked());
  EXPECT_EQ(main->View().Editor(0)->font().family(), QStringLiteral("ＭＳ ゴシック"));
  // Cancelled: nothing changes.
  main->Action("ActionFormatFont")->trigger();
  ExpectDocument();
}

TEST_F(MainFormatTest, WithoutAStripOrInTheAllViewNothingHappensAndNoDialogOpens) {
  auto everyCommand = [this] {
    prompts.colors.push_back(QColor(1, 2, 3));
    prompts.fonts.push_back(QFont(QStringLiteral("IPAGothic")));
    for (const char* name : {"ActionFormatFont", "ActionFormatColor", "ActionFormatBColor", "ActionFormatBold",
                             "ActionFormatItalic", "ActionFormatLeft", "ActionFormatRight"}) {
      main->Action(QString::fromLatin1(name))->trigger();
    }
    main->ComboBoxFontSize->setEditText(QStringLiteral("20"));
    main->ComboBoxFont->setCurrentIndex(2);
  };
  everyCommand();  // no strip
  Open();
  SelectAll();
  main->Action("ActionShowAll")->trigger();
  everyCommand();
  ExpectDocument();
  EXPECT_FALSE(main->Document().IsChanged());
  EXPECT_TRUE(prompts.colorDialogs.isEmpty());
  EXPECT_TRUE(prompts.fontDialogs.isEmpty());
  // The series switch changes the palette only.
  main->ComboBoxSeries->setCurrentIndex(4);
  ExpectDocument();
}

TEST_F(MainFormatTest, TypingASizeAfterClickingAKeyInTheActiveWindow) {
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  Open();
  QTest::mouseClick(main->View().Controls(2, kDetailView).face, Qt::LeftButton);
  ASSERT_EQ(main->SelectedKeys(), std::vector<int>{2});
  QLineEdit* edit = main->ComboBoxFontSize->lineEdit();
  QTest::mouseClick(edit, Qt::LeftButton);
  EXPECT_EQ(main->SelectedKeys(), std::vector<int>{2});
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, "14");
  Key(2).size = "14";
  ExpectDocument();
}
