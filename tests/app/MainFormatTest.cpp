// The formatting commands on the real window: tool bar buttons, boxes, menu
// items and the scripted colour and font dialogs. After each command the
// document equals the one built with the expected key format, byte for byte.
#include <QActionGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <QUndoStack>
#include <functional>

#include "base/ShiftJis.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

namespace {

using Field = QByteArray TestKey::*;

// Three keys side by side, and a second strip after them.
TestStrip ThreeKeys() {
  return GridStrip({TestKey::Editable(1, {"KEY"}), TestKey::Editable(2, {"KEY"}), TestKey::Editable(3, {"KEY"})});
}

struct MainFormatTest : MainWindowFixture {
  QList<TestStrip> strips{ThreeKeys(), ThreeKeys()};

  void SetUp() override {
    strips[1].extension = "202";
    MainWindowFixture::SetUp();
  }
  void Open() { OpenDocument(DocumentLines(strips)); }
  TestKey& Key(int k) { return strips[0].groups[0].keys[k]; }
  void SelectAll() { Trigger("ActionEditAllSel"); }
  void ExpectDocument() { EXPECT_EQ(main->Document().lines(), DocumentLines(strips)); }
  // All three keys now hold `value` in `field`, nothing else changed.
  void ExpectAll(Field field, const QByteArray& value) {
    for (int k : {0, 1, 2}) Key(k).*field = value;
    ExpectDocument();
  }
};

}  // namespace

TEST_F(MainFormatTest, ButtonsAndMenuItemsWriteEverySelectedKey) {
  Key(1).bold = "1";
  Open();
  SelectAll();
  ASSERT_EQ(main->SelectedKeys().size(), 3u);
  ASSERT_FALSE(main->ToolButtonBold->isChecked());  // key 0 shows
  auto click = [](QToolButton* b) { return [b] { QTest::mouseClick(b, Qt::LeftButton); }; };
  auto trigger = [this](const char* a) { return [this, a] { Trigger(a); }; };
  struct Row {
    const char* what;
    std::function<void()> press;
    Field field;
    QByteArray value;
  };
  const Row rows[] = {
      {"bold on three keys", click(main->ToolButtonBold), &TestKey::bold, "1"},
      {"bold again", click(main->ToolButtonBold), &TestKey::bold, "0"},
      {"italic", click(main->ToolButtonItalic), &TestKey::italic, "1"},
      {"right button", click(main->ToolButtonRight), &TestKey::align, "3"},
      {"left menu item", trigger("ActionFormatLeft"), &TestKey::align, "1"},
      {"left again stays checked", trigger("ActionFormatLeft"), &TestKey::align, "1"},
      {"centre menu item", trigger("ActionFormatCenter"), &TestKey::align, "2"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    row.press();
    ExpectAll(row.field, row.value);
    // Buttons and menu items show the alignment written, one of the three.
    const int align = Key(0).align.toInt();
    const QToolButton* buttons[] = {main->ToolButtonLeft, main->ToolButtonCenter, main->ToolButtonRight};
    const char* actions[] = {"ActionFormatLeft", "ActionFormatCenter", "ActionFormatRight"};
    for (int a = 0; a < 3; ++a) {
      EXPECT_EQ(buttons[a]->isChecked(), a + 1 == align) << actions[a];
      EXPECT_EQ(main->Action(actions[a])->isChecked(), a + 1 == align) << actions[a];
    }
  }
  // The editors take the new format; the strip is not laid out again.
  EXPECT_FALSE(Editor(2)->font().bold());
  EXPECT_TRUE(Editor(2)->font().italic());
  Trigger("ActionShowDetail");
  EXPECT_TRUE(main->Action("ActionShowDetail")->isChecked());
  EXPECT_FALSE(main->Action("ActionShowAll")->isChecked());
  // Both pairs are separate exclusive groups, which menus draw as radio items.
  for (const char* name : {"ActionShowDetail", "ActionShowAll", "ActionFormatLeft", "ActionFormatCenter",
                           "ActionFormatRight"}) {
    QActionGroup* group = main->Action(name)->actionGroup();
    ASSERT_NE(group, nullptr) << name;
    EXPECT_TRUE(group->isExclusive()) << name;
  }
  EXPECT_NE(main->Action("ActionShowAll")->actionGroup(), main->Action("ActionFormatLeft")->actionGroup());
}

TEST_F(MainFormatTest, ColourDialogsWriteTheirColourAndStartFromTheCurrentKeys) {
  Key(0).colors = "255";
  Open();
  SelectAll();
  prompts.colors.push_back(QColor(0, 255, 0));  // 65280
  QTest::mouseClick(main->findChild<QToolButton*>("ToolButtonBColor"), Qt::LeftButton);
  Key(0).colors = "255,65280";
  Key(1).colors = Key(2).colors = "0,65280";
  ExpectDocument();
  prompts.colors.push_back(QColor(0, 0, 255));
  prompts.colors.push_back(std::nullopt);
  QTest::mouseClick(main->findChild<QToolButton*>("ToolButtonColor"), Qt::LeftButton);
  Trigger("ActionFormatBColor");  // cancelled: nothing changes
  ExpectAll(&TestKey::colors, "16711680,65280");
  // Key 0 is current: white (its pair has no background), then its red
  // text, then its green background.
  EXPECT_EQ(prompts.colorDialogs, (QList<QColor>{Qt::white, QColor(255, 0, 0), QColor(0, 255, 0)}));
  EXPECT_EQ(Editor(1)->palette().color(QPalette::Base), QColor(0, 255, 0));
}

TEST_F(MainFormatTest, SizeBoxAppliesATypedSizeOnceWhenConfirmed) {
  Open();
  SelectAll();
  const QImage before = main->View().Controls(0, kAllView).face->Image();
  enum Confirm { kNone, kEnter, kLeave };
  // Typed, how confirmed, the size written (none: nothing changes), the box after.
  const std::tuple<const char*, Confirm, const char*, const char*> rows[] = {
      {"14", kNone, nullptr, "14"},  {"14", kEnter, "14", "14"}, {"14", kEnter, nullptr, "14"},
      {"0", kEnter, nullptr, "14"},  {"x", kLeave, nullptr, "14"}, {"20", kLeave, "20", "20"},
  };
  int steps = 0;
  for (const auto& [typed, confirm, written, shown] : rows) {
    SCOPED_TRACE(typed);
    TypeSize(typed, confirm == kEnter);
    if (confirm == kLeave) main->ComboBoxFont->setFocus();
    if (written) ExpectAll(&TestKey::size, written);
    ExpectDocument();
    EXPECT_EQ(main->History().count(), steps += written ? 1 : 0);
    EXPECT_EQ(main->ComboBoxFontSize->currentText(), QString::fromLatin1(shown));
  }
  // The all view draws the new size too; the tool bar keeps the selection.
  EXPECT_NE(main->View().Controls(0, kAllView).face->Image(), before);
  EXPECT_EQ(main->SelectedKeys().size(), 3u);
}

TEST_F(MainFormatTest, TypingASizeAfterClickingAKey) {
  Open();
  ClickKey(2);
  ASSERT_EQ(main->SelectedKeys(), std::vector<int>{2});
  QLineEdit* edit = main->ComboBoxFontSize->lineEdit();
  QTest::mouseClick(edit, Qt::LeftButton);
  EXPECT_EQ(main->SelectedKeys(), std::vector<int>{2});
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, "14");
  ExpectDocument();
  ClickKey(0);  // leaving the box confirms it for the key it was typed for
  Key(2).size = "14";
  ExpectDocument();
  EXPECT_EQ(main->History().count(), 1);
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
  ClickKey(1);
  EXPECT_EQ(main->ComboBoxFont->currentText(), QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_EQ(main->ComboBoxFontSize->currentText(), QStringLiteral("11"));
  EXPECT_TRUE(main->ToolButtonBold->isChecked());
  EXPECT_TRUE(main->ToolButtonRight->isChecked());
  ClickKey(0);
  EXPECT_EQ(main->ComboBoxFont->currentIndex(), 0);  // not installed: the first family
  EXPECT_FALSE(main->ToolButtonBold->isChecked());
  EXPECT_TRUE(main->ToolButtonCenter->isChecked());
  EXPECT_FALSE(main->ToolButtonRight->isChecked());
  ExpectDocument();  // showing a key's format writes nothing
  EXPECT_FALSE(main->Document().IsChanged());

  SelectAll();
  main->ComboBoxFont->setCurrentIndex(main->ComboBoxFont->findText(QStringLiteral("ＭＳ ゴシック")));
  ExpectAll(&TestKey::font, Sj("ＭＳ ゴシック"));
}

TEST_F(MainFormatTest, FontListHasPlainNamesOnceAndTheMsNames) {
  QStringList names;
  for (int i = 0; i < main->ComboBoxFont->count(); ++i) names << main->ComboBoxFont->itemText(i);
  for (const char* name : {"ＭＳ 明朝", "ＭＳ Ｐ明朝", "ＭＳ ゴシック", "ＭＳ Ｐゴシック", "IPAGothic"}) {
    EXPECT_EQ(names.count(QString::fromUtf8(name)), 1) << name;
  }
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
  Trigger("ActionFormatFont");
  ASSERT_EQ(prompts.fontDialogs.size(), 1);
  const QFont& preset = prompts.fontDialogs[0].font;
  EXPECT_EQ(preset.family(), QStringLiteral("IPAMincho"));  // the stand-in shows
  EXPECT_EQ(preset.pointSize(), 11);
  EXPECT_TRUE(preset.italic());
  EXPECT_FALSE(preset.bold());
  EXPECT_EQ(prompts.fontDialogs[0].color, QColor(255, 0, 0));
  for (int k : {0, 1, 2}) {
    Key(k).font = Sj("ＭＳ ゴシック");  // written under the name it stands in for
    Key(k).size = "16";
    Key(k).bold = "1";
    Key(k).italic = "0";
    Key(k).colors = k == 0 ? "16711680,65280" : "16711680,16777215";
  }
  ExpectDocument();
  EXPECT_EQ(main->ComboBoxFontSize->currentText(), QStringLiteral("16"));  // shown again
  EXPECT_TRUE(main->ToolButtonBold->isChecked());
  EXPECT_EQ(Editor(0)->font().family(), QStringLiteral("ＭＳ ゴシック"));
  Trigger("ActionFormatFont");  // cancelled: nothing changes
  ExpectDocument();
}

TEST_F(MainFormatTest, FontDialogKeepsTheNameTheKeyHoldsAndOkWithoutAChangeIsNoStep) {
  // The family the key holds, and the size chosen (0: OK on what the dialog showed).
  const std::pair<const char*, int> rows[] = {{"IPAGothic", 0}, {"ＭＳ ゴシック", 0}, {"IPAGothic", 14}};
  int opened = 0;
  for (const auto& [held, size] : rows) {
    SCOPED_TRACE(held);
    Key(0).font = Sj(held);
    const QString path = dir.filePath(QStringLiteral("site%1.VRD").arg(++opened));  // a file of its own each
    ASSERT_TRUE(WriteLinesFile(path, DocumentLines(strips)));
    ASSERT_TRUE(main->OpenDataFile(path));
    ClickKey(0);
    prompts.fonts.push_back(std::nullopt);  // cancelled: what the dialog shows
    Trigger("ActionFormatFont");
    QFont answer = prompts.fontDialogs.last().font;
    EXPECT_EQ(answer.family(), QStringLiteral("IPAGothic"));
    if (size) answer.setPointSize(size);
    prompts.fonts.push_back(answer);
    Trigger("ActionFormatFont");
    EXPECT_EQ(main->History().count(), size ? 1 : 0);
    if (size) Key(0).size = QByteArray::number(size), Key(0).colors = "0,16777215";
    ExpectDocument();
  }
}

TEST_F(MainFormatTest, WithoutAStripOrInTheAllViewNothingHappensAndNoDialogOpens) {
  auto everyCommand = [this] {
    prompts.colors.push_back(QColor(1, 2, 3));
    prompts.fonts.push_back(QFont(QStringLiteral("IPAGothic")));
    for (const char* name : {"ActionFormatFont", "ActionFormatColor", "ActionFormatBColor", "ActionFormatBold",
                             "ActionFormatItalic", "ActionFormatLeft", "ActionFormatRight"}) {
      Trigger(name);
    }
    main->ComboBoxFontSize->setEditText(QStringLiteral("20"));
    main->ComboBoxFont->setCurrentIndex(2);
  };
  everyCommand();  // no strip
  Open();
  SelectAll();
  Trigger("ActionShowAll");
  everyCommand();
  ExpectDocument();
  EXPECT_FALSE(main->Document().IsChanged());
  EXPECT_TRUE(prompts.colorDialogs.isEmpty());
  EXPECT_TRUE(prompts.fontDialogs.isEmpty());
  main->ComboBoxSeries->setCurrentIndex(4);  // the series switch changes the palette only
  ExpectDocument();
}
