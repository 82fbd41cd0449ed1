// Selecting and editing keys on the real widgets of the main window, driven
// by mouse, key and input method events: after each edit the document
// equals the one built with the expected key texts.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

#include "app/Main.h"
#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/StripCheck.h"
#include "document/StripList.h"
#include "support/FakePrompts.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/StripRenderer.h"
#include "view/StripView.h"

namespace {

// Keys 0, 1, 3, 4 and 5 are editable, key 2 is fixed, key 3 has a picture.
TestStrip EditingStrip() {
  TestKey fixed;
  fixed.number = "0";
  fixed.text = {"KOTEI"};
  TestKey picture = TestKey::Editable(3, {"P"});
  picture.pictureKind = "BMP";
  picture.pictureData = "Qk0=";
  return GridStrip({TestKey::Editable(1, {"A", "B"}), TestKey::Editable(2), fixed, picture,
                    TestKey::Editable(4, {"D"}), TestKey::Editable(5, {"E"})});
}

struct KeyEditingWindowTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  QList<TestStrip> strips{EditingStrip(), EditingStrip()};
  QString path = dir.filePath("site.VRD");
  std::unique_ptr<TFMain> main = std::make_unique<TFMain>(dir.path());

  void SetUp() override {
    strips[1].extension = "202";
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    ASSERT_TRUE(WriteLinesFile(path, DocumentLines(strips)));
    ASSERT_TRUE(main->OpenDataFile(path));
    main->Action("ActionShowDetail")->trigger();
    ASSERT_TRUE(main->DetailViewChosen());
  }
  void TearDown() override {
    main->Document().MarkSaved();
    main.reset();
  }

  const KeyControls& Detail(int k) { return main->View().Controls(k, kDetailView); }
  QPlainTextEdit* Editor(int k) { return main->View().Editor(k); }
  TestKey& Key(int k) { return strips[0].groups[0].keys[k]; }
  std::vector<int> Selected() { return main->SelectedKeys(); }
  bool Enabled(const char* action) { return main->Action(QString::fromLatin1(action))->isEnabled(); }

  void Click(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton) {
    KeyImage* face = Detail(k).face;
    QTest::mouseClick(face, button, modifiers, face->rect().center());
  }
  // A double-click as the mouse gives it: a click, then the double-click.
  void DoubleClick(int k) {
    Click(k);
    KeyImage* face = Detail(k).face;
    QTest::mouseDClick(face, Qt::LeftButton, Qt::NoModifier, face->rect().center());
  }
  // Key presses that carry the characters (double-byte ones have no key code).
  void Type(const QString& text) {
    for (QChar c : text) {
      QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c),
                          Qt::NoModifier);
    }
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  // What an input method sends: a composition, then its confirmed text.
  void Compose(QWidget* target, const QString& reading, const QString& confirmed) {
    QInputMethodEvent preedit(reading, {});
    QApplication::sendEvent(target, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(confirmed);
    QApplication::sendEvent(target, &commit);
  }
  // The document equals the built one with the keys' texts as the test set
  // them, and still walks.
  void ExpectDocument() {
    EXPECT_EQ(main->Document().lines(), DocumentLines(strips));
    EXPECT_NO_THROW(CheckDocument(main->Document().lines()));
    EXPECT_EQ(StripListViolation(main->Document(), main->ListRows()), QString());
  }
  void DropPicture(int k) {
    Key(k).pictureKind.clear();
    Key(k).pictureData.clear();
  }
};

}  // namespace

TEST_F(KeyEditingWindowTest, TypingTwoLinesThenEnterLeavesTwoLines) {
  QWidget* panel = Detail(0).panel;
  const QImage before = Detail(0).face->Image();
  DoubleClick(0);
  QPlainTextEdit* editor = Editor(0);
  ASSERT_EQ(main->EditingKey(), 0);
  EXPECT_TRUE(editor->isVisible());
  EXPECT_FALSE(Detail(0).frame->isVisible());
  EXPECT_EQ(editor->geometry(), Detail(0).frame->geometry());
  EXPECT_EQ(editor->font().family(), QStringLiteral("ＭＳ 明朝"));
  EXPECT_EQ(editor->textCursor().selectedText(), QStringLiteral("A\u2029B"));  // all of it
  EXPECT_EQ(Selected(), std::vector<int>{0});

  Type("ab");
  Press(Qt::Key_Return);
  Type("cd");
  Press(Qt::Key_Return);
  Press(Qt::Key_Enter, Qt::ShiftModifier);
  EXPECT_EQ(editor->toPlainText(), QStringLiteral("ab\ncd"));
  Press(Qt::Key_Tab);  // on to the next key, which ends the edit

  EXPECT_EQ(main->EditingKey(), -1);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_TRUE(Detail(0).frame->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), Detail(1).panel);
  EXPECT_EQ(Selected(), std::vector<int>{1});
  Key(0).text = {"ab", "cd"};
  ExpectDocument();
  // The key is redrawn in place from its new lines; nothing is laid out again.
  EXPECT_EQ(Detail(0).panel, panel);
  const KeyPlan& key = main->View().Plan().keys[0];
  EXPECT_NE(Detail(0).face->Image(), before);
  EXPECT_EQ(Detail(0).face->Image(), RenderKeyFace(main->Document().lines(), key, kDetailView));
  EXPECT_EQ(main->View().Controls(0, kAllView).face->Image(),
            RenderKeyFace(main->Document().lines(), key, kAllView));

  // Saving and opening again gives the same bytes.
  main->Action("ActionFileSave")->trigger();
  const QByteArray saved = ReadBytes(path);
  ASSERT_TRUE(WriteLinesFile(dir.filePath("expected.VRD"), DocumentLines(strips)));
  EXPECT_EQ(saved, ReadBytes(dir.filePath("expected.VRD")));
  ASSERT_TRUE(main->OpenDataFile(path));
  main->Action("ActionFileSave")->trigger();
  EXPECT_EQ(ReadBytes(path), saved);
}

TEST_F(KeyEditingWindowTest, CommittedLinesAreCutTo20BytesAndTheEditorShowsTheCut) {
  const struct {
    QString typed;
    QByteArray stored;
  } cases[] = {
      {QString(25, 'x'), QByteArray(25 - 5, 'x')},
      {QString(19, 'y') + QStringLiteral("漢"), QByteArray(19, 'y')},
      {QStringLiteral("営業部"), Sj("営業部")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    DoubleClick(1);
    Type(c.typed);
    Press(Qt::Key_Escape);  // ends the edit, the key's panel keeps the focus
    EXPECT_EQ(QApplication::focusWidget(), Detail(1).panel);
    EXPECT_EQ(Selected(), std::vector<int>{1});
    EXPECT_EQ(Editor(1)->toPlainText(), sjis::Decode(c.stored));
    Key(1).text = {c.stored};
    ExpectDocument();
  }
}

TEST_F(KeyEditingWindowTest, AnInputMethodsConfirmingEnterIsNoLineBreak) {
  DoubleClick(1);
  QPlainTextEdit* editor = Editor(1);
  Compose(editor, QStringLiteral("えいぎょう"), QStringLiteral("営業"));
  EXPECT_EQ(editor->toPlainText(), QStringLiteral("営業"));
  Press(Qt::Key_Return);  // the first line break: one line so far
  Compose(editor, QStringLiteral("ぶ"), QStringLiteral("部"));
  Press(Qt::Key_Return);  // a third line: discarded
  Compose(editor, QStringLiteral("か"), QStringLiteral("課"));  // typing goes on
  EXPECT_EQ(editor->toPlainText(), QStringLiteral("営業\n部課"));
  // A composition still open when the edit ends leaves nothing behind.
  QInputMethodEvent open(QStringLiteral("ない"), {});
  QApplication::sendEvent(editor, &open);
  Press(Qt::Key_Tab);
  Key(1).text = {Sj("営業"), Sj("部課")};
  ExpectDocument();
}

TEST_F(KeyEditingWindowTest, CtrlClicksToggleAndTheLastSelectedKeyStays) {
  Click(0);
  EXPECT_EQ(Selected(), std::vector<int>{0});
  EXPECT_EQ(Detail(0).frame->PenWidth(), 2);
  Click(1, Qt::ControlModifier);
  EXPECT_EQ(Selected(), (std::vector<int>{0, 1}));
  EXPECT_EQ(Detail(1).frame->PenWidth(), 2);
  // The mark on screen: a selected frame is black on its two outer pixels.
  for (auto [k, second] : {std::pair{1, QColor(Qt::black)}, std::pair{4, QColor(Qt::white)}}) {
    const QImage frame = Detail(k).frame->grab().toImage();
    EXPECT_EQ(frame.pixelColor(0, frame.height() / 2), QColor(Qt::black));
    EXPECT_EQ(frame.pixelColor(1, frame.height() / 2), second) << k;
  }
  // Several keys: only the commands for several keys stay enabled.
  EXPECT_FALSE(Enabled("ActionEditCut"));
  EXPECT_FALSE(Enabled("ActionEditPaste"));
  EXPECT_FALSE(Enabled("ActionEditPicOn"));
  EXPECT_TRUE(Enabled("ActionEditDelete"));
  EXPECT_TRUE(Enabled("ActionEditSelReset"));
  EXPECT_TRUE(Enabled("ActionEditFind"));
  EXPECT_TRUE(main->PopupMenu1A->actions()[3]->isEnabled());  // 削除(&D)
  EXPECT_FALSE(main->PopupMenu1A->actions()[0]->isEnabled());

  Click(4, Qt::ControlModifier);  // the selection starts again from the current key
  EXPECT_EQ(Selected(), (std::vector<int>{0, 4}));
  EXPECT_EQ(Detail(1).frame->PenWidth(), 1);
  Click(0, Qt::ControlModifier);  // the only key after the reset: stays
  EXPECT_EQ(Selected(), std::vector<int>{0});
  EXPECT_TRUE(Enabled("ActionEditCut"));
  EXPECT_FALSE(Enabled("ActionEditPicOff"));

  Click(5, Qt::NoModifier, Qt::RightButton);  // a right click selects the key for its menu
  EXPECT_EQ(Selected(), std::vector<int>{5});
  EXPECT_EQ(main->CurrentKey(), 5);
}

TEST_F(KeyEditingWindowTest, ShiftClickRangesIncludeTheFixedKeysBetween) {
  for (auto [from, to] : {std::pair{1, 4}, std::pair{4, 1}}) {
    SCOPED_TRACE(from);
    Click(from);
    Click(to, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(Detail(2).frame->PenWidth(), 2);
    EXPECT_TRUE(Enabled("ActionEditDelete"));
    EXPECT_FALSE(Enabled("ActionEditCopy"));
  }
  // Delete empties every selected key, the picture key's picture with it.
  main->Action("ActionEditDelete")->trigger();
  for (int k : {1, 2, 3, 4}) Key(k).text.clear();
  DropPicture(3);
  ExpectDocument();

  main->Action("ActionEditSelReset")->trigger();
  EXPECT_EQ(Selected(), std::vector<int>{main->CurrentKey()});
  EXPECT_TRUE(Enabled("ActionEditCopy"));
}

TEST_F(KeyEditingWindowTest, SelectAllThenDeleteEmptiesEveryKey) {
  Click(4);
  main->Action("ActionEditAllSel")->trigger();
  EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_FALSE(Enabled("ActionEditCut"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier);
  for (int k = 0; k < 6; ++k) Key(k).text.clear();
  DropPicture(3);
  ExpectDocument();
}

TEST_F(KeyEditingWindowTest, AClickOnAPictureLeavesOnlyItsRemoval) {
  KeyImage* picture = Detail(3).picture;
  QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, picture->rect().center());
  EXPECT_EQ(Selected(), std::vector<int>{3});
  EXPECT_TRUE(Enabled("ActionEditPicOff"));
  EXPECT_TRUE(main->PopupMenu1B->actions()[0]->isEnabled());
  EXPECT_FALSE(Enabled("ActionEditPicOn"));
  EXPECT_FALSE(Enabled("ActionEditCopy"));
  EXPECT_FALSE(main->PopupMenu1A->actions()[5]->isEnabled());  // 画像添付(&G)
  Click(4);  // a face click gives back all but the removal
  EXPECT_TRUE(Enabled("ActionEditPicOn"));
  EXPECT_FALSE(Enabled("ActionEditPicOff"));
  EXPECT_FALSE(main->PopupMenu1B->actions()[0]->isEnabled());
}

TEST_F(KeyEditingWindowTest, TheFontListKeepsTheSelectionForTheToolBar) {
  Click(1);
  Click(4, Qt::ShiftModifier);
  // The focus leaves the keys: the selection goes with it...
  main->ListView1->setFocus();
  EXPECT_TRUE(Selected().empty());
  // ...unless it goes to the tool bar, or the font list has drawn an item
  // since a key took the focus.
  Click(1);
  Click(4, Qt::ShiftModifier);
  main->ComboBoxFont->setFocus();
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4}));
  main->ComboBoxFont->showPopup();  // lends the focus to the list
  QTest::qWait(50);
  main->ComboBoxFont->hidePopup();
  main->ListView1->setFocus();
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4}));
  Click(5);  // a key taking the focus clears the flag
  main->ListView1->setFocus();
  EXPECT_TRUE(Selected().empty());
}

TEST_F(KeyEditingWindowTest, SelectAllWithoutKeysOnlyChangesTheCommands) {
  main->Action("ActionFileNew")->trigger();
  ASSERT_EQ(main->KeyCount(), 0);
  main->ActionEditAllSelExecute();
  EXPECT_TRUE(Enabled("ActionEditDelete"));
  EXPECT_FALSE(Enabled("ActionEditCut"));
  EXPECT_TRUE(main->SelectedKeys().empty());
}

TEST_F(KeyEditingWindowTest, TabAndShiftTabWalkTheEditableKeysInOrder) {
  Click(0);
  for (int k : {1, 3, 4, 5}) {  // the fixed key 2 is no tab stop
    Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Detail(k).panel);
    EXPECT_EQ(Selected(), std::vector<int>{k});
    EXPECT_EQ(main->CurrentKey(), k);
  }
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), std::vector<int>{4});
}

TEST_F(KeyEditingWindowTest, ClipboardCommandsOutsideEditing) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  Click(0);
  main->Action("ActionEditCopy")->trigger();
  EXPECT_EQ(clipboard->text(), QStringLiteral("A\nB"));
  EXPECT_FALSE(main->Document().IsChanged());
  Click(1);
  Press(Qt::Key_Tab);  // to the picture key: copying leaves its picture alone
  main->Action("ActionEditCopy")->trigger();
  EXPECT_EQ(clipboard->text(), QStringLiteral("P"));
  EXPECT_FALSE(main->Document().IsChanged());

  Click(4);
  main->Action("ActionEditCut")->trigger();
  EXPECT_EQ(clipboard->text(), QStringLiteral("D"));
  Key(4).text.clear();
  ExpectDocument();

  // A pasted text keeps all its lines, each cut to 20 bytes.
  clipboard->setText(QStringLiteral("1\r\n") + QString(22, 'z') + QStringLiteral("\r\n3"));
  Click(5);
  main->Action("ActionEditPaste")->trigger();
  Key(5).text = {"1", QByteArray(20, 'z'), "3"};
  ExpectDocument();
}

TEST_F(KeyEditingWindowTest, ClipboardCommandsInsideEditingWorkOnTheEditor) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  DoubleClick(5);
  Type("xyz");
  Editor(5)->selectAll();
  main->Action("ActionEditCopy")->trigger();
  EXPECT_EQ(clipboard->text(), QStringLiteral("xyz"));
  main->Action("ActionEditCut")->trigger();
  EXPECT_EQ(Editor(5)->toPlainText(), QString());
  clipboard->setText(QStringLiteral("p1\np2"));
  main->Action("ActionEditPaste")->trigger();
  EXPECT_EQ(Editor(5)->toPlainText(), QStringLiteral("p1\np2"));
  ExpectDocument();  // nothing is written until the edit ends
  Press(Qt::Key_Escape);
  Key(5).text = {"p1", "p2"};
  ExpectDocument();

  // Ctrl+Delete in the editor is the delete command: the key is emptied.
  DoubleClick(0);
  Press(Qt::Key_Delete, Qt::ControlModifier);
  Key(0).text.clear();
  ExpectDocument();
  EXPECT_EQ(Editor(0)->toPlainText(), QString());
}

TEST_F(KeyEditingWindowTest, ADamagedKeyBlockShowsTheLayoutErrorOnCommit) {
  const qsizetype keyLine = main->View().KeyBlockLine(1);
  DoubleClick(1);
  main->Document().Replace(keyLine + 32, "x");
  const Lines damaged = main->Document().lines();
  Type("new");
  Press(Qt::Key_Tab);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text,
            QStringLiteral("示名条データに誤りがあります（%1行目：0以上の個数）。").arg(keyLine + 33));
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("エラー"));
  EXPECT_EQ(main->Document().lines(), damaged);
}

TEST_F(KeyEditingWindowTest, APaletteLabelGoesToTheSelectedKeysWithoutPicture) {
  Click(1);
  Press(Qt::Key_Tab);
  Click(4, Qt::ControlModifier);
  ASSERT_EQ(Selected(), (std::vector<int>{3, 4}));
  main->ApplyKeyLabelToSelectedKeys({Sj("ＭＳ ゴシック"), 12, 255, 65535, {Sj("保留"), QByteArray(22, 'h')}});
  Key(4).font = Sj("ＭＳ ゴシック");
  Key(4).size = "12";
  Key(4).colors = "255,65535";
  Key(4).text = {Sj("保留"), QByteArray(22, 'h')};  // palette lines are not cut
  ExpectDocument();
  EXPECT_EQ(Editor(4)->toPlainText(), QStringLiteral("保留\n") + QString(22, 'h'));
  EXPECT_EQ(Editor(4)->font().family(), QStringLiteral("ＭＳ ゴシック"));
}

// Every command that replaces the view or reads the document commits the
// key being typed first, so no typed text is lost.
TEST_F(KeyEditingWindowTest, CommandsCommitThePendingEditFirst) {
  const struct {
    const char* name;
    std::function<void(KeyEditingWindowTest&)> run;
  } commands[] = {
      {"all view", [](auto& t) { t.main->Action("ActionShowAll")->trigger(); }},
      {"another strip",
       [](auto& t) { t.main->ListView1->setCurrentItem(t.main->ListView1->topLevelItem(1)); }},
      {"save", [](auto& t) { t.main->Action("ActionFileSave")->trigger(); }},
      {"save as",
       [](auto& t) {
         t.prompts.files = {t.dir.filePath("other.VRD")};
         t.main->Action("ActionFileSaveAs")->trigger();
       }},
      {"new", [](auto& t) {
         t.prompts.answers = {PromptAnswer::Cancel};
         t.main->Action("ActionFileNew")->trigger();
       }},
      {"open", [](auto& t) {
         t.prompts.answers = {PromptAnswer::Cancel};
         t.main->Action("ActionFileOpen")->trigger();
       }},
      {"close", [](auto& t) {
         t.prompts.answers = {PromptAnswer::Cancel};
         t.main->close();
       }},
      {"create strip", [](auto& t) { t.main->Action("ActionJimeijoNew")->trigger(); }},
      {"delete strip", [](auto& t) {
         t.prompts.answers = {PromptAnswer::No};
         t.main->Action("ActionJimeijoDelete")->trigger();
       }},
  };
  const Lines original = DocumentLines(strips);
  Key(0).text = {Sj("営業")};
  for (const auto& command : commands) {
    SCOPED_TRACE(command.name);
    ASSERT_TRUE(WriteLinesFile(path, original));  // "save" wrote the typed text into it
    ASSERT_TRUE(main->OpenDataFile(path));
    main->Action("ActionShowDetail")->trigger();
    DoubleClick(0);
    Type(QStringLiteral("営業"));
    command.run(*this);
    EXPECT_EQ(main->EditingKey(), -1);
    ExpectDocument();
    main->Document().MarkSaved();
    if (main->ListView1->topLevelItem(0)) main->ListView1->setCurrentItem(main->ListView1->topLevelItem(0));
  }
}

// The all view jumps only from editable keys, and a key's frame is not the
// canvas below it.
TEST_F(KeyEditingWindowTest, AllViewJumpsOnlyFromEditableKeys) {
  main->Action("ActionShowAll")->trigger();
  KeyImage* fixedFace = main->View().Controls(2, kAllView).face;
  QTest::mouseDClick(fixedFace, Qt::LeftButton, Qt::NoModifier, fixedFace->rect().center());
  EXPECT_FALSE(main->DetailViewChosen());

  TextFrame* frame = main->View().Controls(4, kAllView).frame;
  QTest::mouseDClick(frame, Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
  EXPECT_FALSE(main->DetailViewChosen());

  KeyImage* face = main->View().Controls(4, kAllView).face;
  QTest::mouseDClick(face, Qt::LeftButton, Qt::NoModifier, face->rect().center());
  EXPECT_TRUE(main->DetailViewChosen());
  EXPECT_EQ(main->CurrentKey(), 4);
  EXPECT_EQ(Selected(), std::vector<int>{4});
}

// Focus events reach only the active window: with another window active,
// clicks still select and a command still commits the key being typed.
TEST_F(KeyEditingWindowTest, SelectionAndCommitsDoNotWaitForFocusEvents) {
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  ASSERT_FALSE(main->isActiveWindow());
  Click(0);
  EXPECT_EQ(Selected(), std::vector<int>{0});
  Click(4, Qt::ControlModifier);
  EXPECT_EQ(Selected(), (std::vector<int>{0, 4}));
  Click(1);
  EXPECT_EQ(Selected(), std::vector<int>{1});
  DoubleClick(5);
  ASSERT_EQ(main->EditingKey(), 5);
  QTest::sendKeyEvent(QTest::Click, Editor(5), Qt::Key_unknown, QStringLiteral("x"), Qt::NoModifier);
  Click(4);  // another key ends the edit
  EXPECT_EQ(main->EditingKey(), -1);
  EXPECT_EQ(Selected(), std::vector<int>{4});
  Key(5).text = {"x"};
  ExpectDocument();
  DoubleClick(5);
  QTest::sendKeyEvent(QTest::Click, Editor(5), Qt::Key_unknown, QStringLiteral("y"), Qt::NoModifier);
  main->Action("ActionFileSave")->trigger();
  EXPECT_EQ(main->EditingKey(), -1);
  Key(5).text = {"y"};
  ExpectDocument();
  EXPECT_FALSE(main->Document().IsChanged());
}

// --- Editing with the keyboard -----------------------------------------------

namespace {

// What is typed into each key of a 24-key strip: "\n" is Enter, an empty
// text leaves the key as it was.
QString TypedText(int k) {
  const QString texts[] = {QStringLiteral("内線201"), QStringLiteral("営業\n部"), QString(),
                           QStringLiteral("営業部営業部営業部営業部営"), QStringLiteral("FAX"), QStringLiteral("ｶﾅ 1")};
  return texts[k % 6] + (k % 6 == 2 ? QString() : QString::number(k));
}

}  // namespace

TEST_F(KeyEditingWindowTest, AStripTypedWithTheKeyboardEqualsTheDoubleClickedOne) {
  QList<TestKey> keys;
  for (int k = 0; k < 24; ++k) keys.append(TestKey::Editable(k + 1, {Sj("元")}));
  strips = {GridStrip(keys)};
  auto typeKey = [this](int k) {
    for (QChar c : TypedText(k)) {
      if (c == '\n') Press(Qt::Key_Return);
      else Type(QString(c));
    }
  };
  auto openAgain = [this] {
    ASSERT_TRUE(WriteLinesFile(path, DocumentLines(strips)));
    ASSERT_TRUE(main->OpenDataFile(path));
    ASSERT_EQ(main->KeyCount(), 24);
  };

  // Characters and Tab only, from the first key to the last.
  openAgain();
  Detail(0).panel->setFocus(Qt::TabFocusReason);
  for (int k = 0; k < 24; ++k) {
    ASSERT_EQ(QApplication::focusWidget(), Detail(k).panel) << k;
    typeKey(k);
    Press(Qt::Key_Tab);
  }
  EXPECT_EQ(main->EditingKey(), -1);
  prompts.files = {dir.filePath("keyboard.VRD")};
  main->Action("ActionFileSaveAs")->trigger();

  // The same texts by double-clicks, each edit ended by Esc.
  openAgain();
  for (int k = 0; k < 24; ++k) {
    if (TypedText(k).isEmpty()) continue;
    DoubleClick(k);
    typeKey(k);
    Press(Qt::Key_Escape);
  }
  prompts.files = {dir.filePath("mouse.VRD")};
  main->Action("ActionFileSaveAs")->trigger();

  const QByteArray keyboard = ReadBytes(dir.filePath("keyboard.VRD"));
  EXPECT_EQ(keyboard, ReadBytes(dir.filePath("mouse.VRD")));
  EXPECT_NE(keyboard, ReadBytes(path));  // the texts were typed
  EXPECT_TRUE(keyboard.contains(Sj("営業部営業部営業部営\r\n")));  // 26 bytes typed, 20 kept
}

TEST_F(KeyEditingWindowTest, EnterAndF2OpenAtTheEndAndACompositionStartsTheEditor) {
  Click(0);
  for (Qt::Key open : {Qt::Key_F2, Qt::Key_Return}) {  // the text stays, the caret at its end
    Press(open);
    ASSERT_EQ(main->EditingKey(), 0);
    Type("C");
    Press(Qt::Key_Escape);
  }
  Press(Qt::Key_Tab);
  Compose(Detail(1).panel, QStringLiteral("えいぎょう"), QStringLiteral("営業"));  // on the focused panel
  ASSERT_EQ(main->EditingKey(), 1);
  Press(Qt::Key_Tab);
  Type("x");  // key 3 shows a picture: typing does not replace it
  EXPECT_EQ(main->EditingKey(), -1);
  Key(0).text = {"A", "BCC"};
  Key(1).text = {Sj("営業")};
  ExpectDocument();
}

TEST_F(KeyEditingWindowTest, BytesPastTheLimitAreMarkedWhileTypingAndTheCutIsSaid) {
  Click(1);
  Type(QStringLiteral("営業部営業部営業部営業部営"));  // 13 kanji, 26 bytes
  QPlainTextEdit* editor = Editor(1);
  ASSERT_EQ(main->EditingKey(), 1);
  EXPECT_TRUE(main->StatusText().contains(QStringLiteral("26バイト"))) << main->StatusText().toStdString();
  const QList<QTextEdit::ExtraSelection> marks = editor->extraSelections();
  ASSERT_EQ(marks.size(), 1);
  EXPECT_EQ(marks[0].cursor.selectedText(), QStringLiteral("業部営"));
  EXPECT_EQ(marks[0].format.foreground().color(), QColor(Qt::red));
  Press(Qt::Key_Escape);
  Key(1).text = {Sj("営業部営業部営業部営")};
  ExpectDocument();
  EXPECT_TRUE(main->StatusText().contains(QStringLiteral("切り詰めました"))) << main->StatusText().toStdString();
  EXPECT_TRUE(editor->extraSelections().isEmpty());  // the editor holds what was kept
}

TEST_F(KeyEditingWindowTest, AKeyWhoseTextDoesNotFitIsMarkedInTheDetailViewOnly) {
  Key(4).size = "12";
  Key(4).text = {Sj("営業部営業部営業部営")};
  ASSERT_TRUE(WriteLinesFile(path, DocumentLines(strips)));
  ASSERT_TRUE(main->OpenDataFile(path));
  EXPECT_TRUE(main->StatusText().contains(QStringLiteral("キー4の文字がキーに収まりません"))) << main->StatusText().toStdString();
  EXPECT_TRUE(Detail(4).face->OverflowMark());
  EXPECT_FALSE(main->View().Controls(4, kAllView).face->OverflowMark());
  EXPECT_FALSE(Detail(5).face->OverflowMark());
  // On screen only: the face's image is the rendered one, the mark lies over it.
  const KeyPlan& key = main->View().Plan().keys[4];
  EXPECT_EQ(Detail(4).face->Image(),
            RenderKeyFace(main->Document().lines(), key, kDetailView, Detail(4).face->devicePixelRatioF()));
  const QImage shown = Detail(4).face->grab().toImage();
  EXPECT_EQ(shown.pixelColor(shown.width() - 2, 1), QColor(Qt::red));

  Click(4);
  Type("FAX");  // a short text fits: the mark goes
  Press(Qt::Key_Escape);
  EXPECT_FALSE(Detail(4).face->OverflowMark());
  main->ComboBoxFontSize->setEditText(QStringLiteral("40"));  // a larger size: marked and named again
  QTest::keyClick(main->ComboBoxFontSize->lineEdit(), Qt::Key_Return);
  EXPECT_TRUE(Detail(4).face->OverflowMark());
  EXPECT_TRUE(main->StatusText().contains(QStringLiteral("キー4の文字がキーに収まりません")));
  Key(4).size = "40";
  Key(4).text = {"FAX"};
  ExpectDocument();
}
