// Find and replace through the real dialog on the main window: the
// dialog's two arrangements, each press showing its match in the key's
// editor, the walk over strips, and replacements that leave the document
// byte for byte as built with the expected key texts.
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <optional>

#include "base/ShiftJis.h"
#include "support/MainWindowFixture.h"
#include "support/PaintedRows.h"
#include "support/TestFiles.h"
#include "view/Search.h"

namespace {

struct MainSearchTest : MainWindowFixture {
  QList<QList<Lines>> texts{
      {{"abc", "ABC"}, {Sj("外線")}, {"X", Sj("外線1外線2")}},
      {{Sj("ａｂｃ")}, {Sj("ア外線")}},
  };
  std::unique_ptr<TFSearch> search = std::make_unique<TFSearch>(main->Settings());

  void SetUp() override {
    AppWindows windows;
    windows.search = search.get();
    main->SetWindows(windows);
    MainWindowFixture::SetUp();
    OpenDocument(Built());
  }
  void TearDown() override {
    search.reset();
    MainWindowFixture::TearDown();
  }

  Lines Built() const {
    QList<TestStrip> strips;
    for (const QList<Lines>& keys : texts) {
      QList<TestKey> built;
      for (const Lines& text : keys) built.append(TestKey::Editable(static_cast<int>(built.size()) + 1, text));
      strips.append(GridStrip(built));
    }
    strips[1].extension = "202";
    return DocumentLines(strips);
  }
  void ExpectDocument() { EXPECT_EQ(main->Document().lines(), Built()); }

  void Open(const char* command, const QString& find, const QString& replacement = QString()) {
    Trigger(command);
    search->Edit1->setText(find);
    search->Edit2->setText(replacement);
    // The dialog is the active window, as when the user presses its button.
    search->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(search.get()));
  }
  // One press of the dialog's button; the key and the text its editor
  // shows selected, or -1 when no key is being edited.
  struct Shown {
    int strip, key;
    QString selected;
    int start;
    bool operator==(const Shown&) const = default;
  };
  Shown Press() {
    QTest::mouseClick(search->btnOk, Qt::LeftButton);
    EXPECT_TRUE(search->isEnabled());
    const int k = main->EditingKey();
    if (k < 0) return {main->CurrentStripNumber(), -1, QString(), -1};
    EXPECT_EQ(main->CurrentKey(), k);
    EXPECT_EQ(main->SelectedKeys(), std::vector<int>{k});
    const QTextCursor cursor = Editor(k)->textCursor();
    return {main->CurrentStripNumber(), k, cursor.selectedText(), cursor.selectionStart()};
  }
  void MakeCurrent(int k) {
    ClickKey(k);
    ASSERT_EQ(main->CurrentKey(), k);
  }
};

void PrintTo(const MainSearchTest::Shown& s, std::ostream* out) {
  *out << "strip " << s.strip << " key " << s.key << " '" << s.selected.toStdString() << "' at " << s.start;
}

int Top(QWidget* w) { return w->geometry().top(); }

}  // namespace

TEST_F(MainSearchTest, DialogArrangements) {
  Trigger("ActionEditFind");
  ASSERT_TRUE(search->isVisible());
  EXPECT_FALSE(search->isModal());
  EXPECT_TRUE(search->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(search->size(), QSize(424, 110));
  EXPECT_EQ(search->font().pixelSize(), 12);
  const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
  EXPECT_LE((search->geometry().center() - centre).manhattanLength(), 2);
  EXPECT_EQ(search->focusWidget(), search->Edit1);
  EXPECT_TRUE(search->btnOk->isDefault());
  EXPECT_EQ(search->Label1->text(), "検索する文字列(&N):");
  EXPECT_EQ(search->Label2->text(), "置換後の文字列(&P):");
  EXPECT_EQ(search->btnCancel->text(), "ｷｬﾝｾﾙ");
  EXPECT_EQ(search->CheckBox1->text(), "大文字と小文字を区別する(&C)");
  EXPECT_EQ(search->CheckBox2->text(), "内線リストの先頭から検索(&S)");
  EXPECT_EQ(search->btnReplaceAll->text(), "すべて置換(&A)");

  struct Arrangement {
    const char* command;
    QString caption, button;
    bool replace;
    std::vector<int> tops;  // Label1, Edit1, btnOk, btnCancel, CheckBox1, CheckBox2, Label2, Edit2
  };
  const Arrangement arrangements[] = {
      {"ActionEditFind", "検索", "検索(&F)", false, {22, 18, 18, 44, 62, 80}},
      {"ActionEditReplace", "置換", "置換(&R)", true, {14, 10, 10, 36, 70, 88, 40, 36}},
      {"ActionEditFind", "検索", "検索(&F)", false, {22, 18, 18, 44, 62, 80}},
  };
  for (const Arrangement& a : arrangements) {
    SCOPED_TRACE(a.command);
    Trigger(a.command);
    EXPECT_EQ(search->Mode(), a.replace ? SearchMode::Replace : SearchMode::Find);
    EXPECT_EQ(search->windowTitle(), a.caption);
    EXPECT_EQ(search->btnOk->text(), a.button);
    EXPECT_EQ(search->Label2->isVisible(), a.replace);
    EXPECT_EQ(search->Edit2->isVisible(), a.replace);
    EXPECT_EQ(search->btnReplaceAll->isVisible(), a.replace);
    std::vector<int> tops;
    for (QWidget* w : std::initializer_list<QWidget*>{search->Label1, search->Edit1, search->btnOk, search->btnCancel,
                                                      search->CheckBox1, search->CheckBox2, search->Label2,
                                                      search->Edit2}) {
      if (w->isVisible()) tops.push_back(Top(w));
    }
    EXPECT_EQ(tops, a.tops);
    if (a.replace) {
      EXPECT_LT(search->btnReplaceAll->geometry().bottom(), 110);
    }
  }
}

TEST_F(MainSearchTest, TextsStayAndCancelForgetsTheStoredOnes) {
  Open("ActionEditReplace", "外線", "局線");
  search->CheckBox1->setChecked(true);
  EXPECT_EQ(Press().key, 1);
  EXPECT_EQ(search->Stored().searchText, Sj("外線"));
  EXPECT_EQ(search->Stored().replacement, Sj("局線"));
  EXPECT_TRUE(search->Stored().matchCase);
  QTest::keyClick(search.get(), Qt::Key_Escape);
  EXPECT_FALSE(search->isVisible());
  EXPECT_EQ(search->Stored().searchText, QByteArray());
  EXPECT_FALSE(search->Stored().matchCase);
  // Reopening clears the search state; the fields keep their texts.
  EXPECT_EQ(main->KeySearchState().strip, 1);
  Trigger("ActionEditFind");
  EXPECT_EQ(main->KeySearchState().strip, 0);
  EXPECT_EQ(search->Edit1->text(), "外線");
  EXPECT_EQ(search->Edit2->text(), "局線");
  // Find mode searches with no replacement.
  Press();
  EXPECT_EQ(search->Stored().replacement, QByteArray());
  ExpectDocument();
}

// Find and replace walk the same matches from the current key across
// strips; replace changes, at each press, the match the press before showed.
TEST_F(MainSearchTest, FindAndReplaceWalkFromTheCurrentKeyAcrossStrips) {
  struct Step {
    Shown shown;
    int strip = -1, key = -1;  // the key the press replaced in, in replace mode
    Lines replaced;
    std::optional<Shown> shownInReplace = {};  // when replace shows another
  };
  // Past the last strip nothing more is found: the editor stays as the
  // press left it, the match selected, or after replace the caret behind
  // the replacement.
  const Shown lastMatch{2, 1, "外線", 1}, lastReplaced{2, 1, QString(), 3};
  const Step steps[] = {
      {{1, 1, "外線", 0}, -1, -1, {}},
      {{1, 2, "外線", 2}, 0, 1, {Sj("局線")}},  // second line: after "X" and its break
      {{1, 2, "外線", 5}, 0, 2, {"X", Sj("局線1外線2")}},  // in the line as it is now
      {lastMatch, 0, 2, {"X", Sj("局線1局線2")}},  // the next strip, after ア
      {lastMatch, 1, 1, {Sj("ア局線")}, lastReplaced},  // past the last strip
  };
  const QList<QList<Lines>> original = texts;
  for (const bool replace : {false, true}) {
    SCOPED_TRACE(replace ? "replace" : "find");
    texts = original;
    OpenDocument(Built());
    MakeCurrent(1);
    Open(replace ? "ActionEditReplace" : "ActionEditFind", "外線", "局線");
    for (const Step& step : steps) {
      SCOPED_TRACE(step.shown.start);
      EXPECT_EQ(Press(), replace && step.shownInReplace ? *step.shownInReplace : step.shown);
      if (replace && step.strip >= 0) {
        texts[step.strip][step.key] = step.replaced;
        // The editor of the strip shown takes the new text too.
        if (step.strip + 1 == main->CurrentStripNumber()) {
          EXPECT_EQ(Editor(step.key)->toPlainText(), sjis::Decode(step.replaced.join('\n')));
        }
      }
      ExpectDocument();
    }
    // The press past the last strip says so in the status line alone.
    EXPECT_EQ(main->StatusText(), QStringLiteral("\u3000最後の示名条まで検索しました"));
    // Find keeps the last match and shows it again; replace has used it up.
    EXPECT_EQ(Press(), replace ? lastReplaced : lastMatch);
    ExpectDocument();
    EXPECT_EQ(main->ListView1->currentItem(), main->ListView1->topLevelItem(1));
    EXPECT_EQ(main->ListView1->selectedItems().size(), 1);
    EXPECT_EQ(main->SelectedKeys(), std::vector<int>{1});
    EXPECT_TRUE(prompts.messages.isEmpty());  // nothing found shows no message
  }
  // Strip 2's key 1 reads ア局線: the caret stands after the replacement.
  EXPECT_EQ(Editor(1)->textCursor().position(), 3);
}

TEST_F(MainSearchTest, FromTheTopAndTheCaseRule) {
  main->ListView1SelectItem(1);
  ASSERT_EQ(main->CurrentStripNumber(), 2);
  Open("ActionEditFind", "abc");
  search->CheckBox2->setChecked(true);
  EXPECT_EQ(Press(), (Shown{1, 0, "abc", 0}));
  EXPECT_EQ(Press(), (Shown{1, 0, "ABC", 4}));  // "abc" and the line break before it
  EXPECT_EQ(Press(), (Shown{1, 0, "ABC", 4}));  // not the full-width ａｂｃ: the match stays shown
  Trigger("ActionEditFind");
  search->CheckBox1->setChecked(true);
  search->Edit1->setText("ABC");
  EXPECT_EQ(Press(), (Shown{1, 0, "ABC", 4}));
}

TEST_F(MainSearchTest, ReplaceAllTellsTheCount) {
  MakeCurrent(2);
  Open("ActionEditReplace", "外線", "局線");
  QTest::mouseClick(search->btnReplaceAll, Qt::LeftButton);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, "3 件置換しました。");
  EXPECT_EQ(prompts.messages[0].title, "メッセージ");
  EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
  texts[0][2] = {"X", Sj("局線1局線2")};
  texts[1][1] = {Sj("ア局線")};
  ExpectDocument();  // key 1, before the current key, is left alone
  EXPECT_EQ(Editor(2)->toPlainText(), "X\n局線1局線2");
  EXPECT_EQ(main->KeySearchState().strip, 0);
}

TEST_F(MainSearchTest, TheCommandsAndEachPressCommitTheKeyBeingTyped) {
  auto type = [&](int k, const QString& text) {
    ClickKey(k);
    KeyImage* face = main->View().Controls(k, kDetailView).face;
    QTest::mouseDClick(face, Qt::LeftButton, Qt::NoModifier, face->rect().center());
    ASSERT_EQ(main->EditingKey(), k);
    QTest::keyClicks(Editor(k), text);
  };
  type(0, "Q1");
  Trigger("ActionEditFind");
  texts[0][0] = {"Q1"};
  ExpectDocument();
  // What is typed between presses is searched as typed.
  search->Edit1->setText("Q");
  EXPECT_EQ(Press(), (Shown{1, 0, "Q", 0}));
  type(1, "Q2");
  EXPECT_EQ(Press(), (Shown{1, 1, "Q", 0}));
  texts[0][1] = {"Q2"};
  ExpectDocument();
  // A press that finds nothing commits what is typed and leaves the editor
  // open with its caret where it was.
  type(2, "Z");
  Editor(2)->moveCursor(QTextCursor::Start);
  search->Edit1->setText("ZZ");
  EXPECT_EQ(Press(), (Shown{1, 2, QString(), 0}));
  texts[0][2] = {"Z"};
  ExpectDocument();
}

// The list on the screen follows each match to its strip: the found strip's
// row alone is painted highlighted, not the one shown before.
TEST_F(MainSearchTest, TheListPaintsTheRowOfTheFoundStrip) {
  texts = {{{"a"}}, {{Sj("外線")}}, {{"b"}, {Sj("外線")}}};
  OpenDocument(Built());
  ASSERT_EQ(PaintedHighlightedRows(main->ListView1), QList<int>{0});
  Open("ActionEditFind", "外線");
  for (const int strip : {2, 3}) {
    EXPECT_EQ(Press().strip, strip);
    EXPECT_EQ(PaintedHighlightedRows(main->ListView1), QList<int>{strip - 1});
  }
}
