// Writing key texts into key blocks (the editor's commit and a palette
// label) and the selection model, on documents built line by line: after
// every write the whole document equals the one built with the new text.
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/KeyControls.h"
#include "view/KeyEditing.h"
#include "view/KeySelection.h"

namespace {

// Two strips of two keys each; the key written is strip 1's second key, so
// that a key block and a whole strip follow it.
struct KeyWriteTest : ::testing::Test {
  QList<TestStrip> strips;
  StripDocument document;
  qsizetype keyLine = 0;

  void SetUp() override {
    TestStrip strip;
    TestGroup group;
    group.keys = {TestKey::Editable(1, {"A"}), TestKey::Editable(2, {"old", "text"}),
                  TestKey::Editable(3)};
    strip.groups = {group};
    strips = {strip, strip};
    strips[1].extension = "202";
    Load();
  }
  void Load() {
    document.SetLines(DocumentLines(strips));
    document.MarkSaved();
    keyLine = KeyBlockLine(document.lines(), kFirstStripStart, 1);
  }
  TestKey& Key() { return strips[0].groups[0].keys[1]; }
  // The document as it must be once the key holds `text` and no picture.
  Lines Expected(const Lines& text) {
    Key().text = text;
    Key().pictureKind.clear();
    Key().pictureData.clear();
    return DocumentLines(strips);
  }
  // The document still walks, and strip 2 is found where its separator now is.
  void ExpectSound() {
    EXPECT_EQ(CheckDocument(document.lines()).strips, 2);
    EXPECT_EQ(document.FindStrip(2), document.lines().indexOf(SeparatorLine(2)));
  }
};

}  // namespace

TEST(EditorTextLinesTest, CountsLinesAsAMultiLineEditBoxDoes) {
  const struct {
    const char* text;
    QStringList lines;
    bool enterBreaks;
  } cases[] = {
      {"", {}, true},
      {"ab", {"ab"}, true},
      {"ab\n", {"ab"}, true},  // a final line end starts no line
      {"ab\ncd", {"ab", "cd"}, false},
      {"ab\ncd\n", {"ab", "cd"}, false},
      {"\n", {""}, true},
      {"ab\n\n", {"ab", ""}, false},
      {"ab\r\ncd\r\nef", {"ab", "cd", "ef"}, false},  // pasted from elsewhere
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(EditorTextLines(QString::fromUtf8(c.text)), c.lines);
    EXPECT_EQ(EnterMayBreakLine(QString::fromUtf8(c.text)), c.enterBreaks);
  }
}

// What the editor marks as past the limit is exactly what the commit cuts:
// random lines of single-byte, double-byte, half-width and unencodable
// characters.
TEST(KeptCharactersTest, TheMarkedPartIsWhatTheCommitDrops) {
  const QStringList pieces = {"a", "Z", " ", "ｱ", "ﾞ", "漢", "営", "～", "①", "\u00e9", "\u4E02"};
  QRandomGenerator random(41);
  for (int round = 0; round < 2000; ++round) {
    QString line;
    const int length = random.bounded(30);
    for (int i = 0; i < length; ++i) line += pieces[random.bounded(pieces.size())];
    SCOPED_TRACE(line.toStdString());
    const QByteArray bytes = sjis::Encode(line);
    const int kept = KeptCharacters(line, 20);
    EXPECT_EQ(sjis::Encode(line.left(kept)), CutToBytes(bytes, 20));
    EXPECT_EQ(LineBytes(line), bytes.size());
    EXPECT_EQ(kept == line.size(), bytes.size() <= 20);
  }
  // A character outside the BMP is kept or marked whole, never split.
  EXPECT_EQ(KeptCharacters(QString(18, 'a') + QStringLiteral("\U0001F600"), 20), 20);
  EXPECT_EQ(KeptCharacters(QString(19, 'a') + QStringLiteral("\U0001F600"), 20), 19);
}

TEST_F(KeyWriteTest, CommitCutsEachLineTo20BytesAndWritesTheCount) {
  const struct {
    const char* name;
    QStringList editor;
    Lines stored;
    bool cut;
  } cases[] = {
      {"two lines", {"ab", "cd"}, {"ab", "cd"}, false},
      {"25 single-byte characters keep 20", {QString(25, 'x')}, {QByteArray(20, 'x')}, true},
      {"a 20th byte that starts a double-byte character keeps 19",
       {QString(19, 'x') + QStringLiteral("漢字")},
       {QByteArray(19, 'x')}, true},
      {"double-byte characters up to 20 bytes", {QStringLiteral("営業部営業部営業部営業部")},
       {Sj("営業部営業部営業部営")}, true},
      {"exactly 20 bytes", {QStringLiteral("営業部営業部営業部営")}, {Sj("営業部営業部営業部営")}, false},
      {"an empty editor leaves no line", {}, {}, false},
      {"a paste keeps every line", {"1", QString(21, 'y'), "3"}, {"1", QByteArray(20, 'y'), "3"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Load();
    const KeyTextWrite write = CommitKeyText(document, keyLine, c.editor);
    EXPECT_EQ(write.text, c.stored);
    EXPECT_EQ(write.cut, c.cut);
    EXPECT_EQ(write.lineDelta, c.stored.size() - 2);
    EXPECT_EQ(document.lines(), Expected(c.stored));
    ExpectSound();
    Key().text = {"old", "text"};
  }
}

TEST_F(KeyWriteTest, CommitDropsThePicture) {
  Key().pictureKind = "JPG";
  Key().pictureData = "/9j/4AAQ";
  Load();
  CommitKeyText(document, keyLine, {QStringLiteral("営業")});
  EXPECT_EQ(document.lines(), Expected({Sj("営業")}));
  EXPECT_FALSE(KeyHasPicture(document, keyLine));
}

TEST_F(KeyWriteTest, ADamagedBlockRaisesAndLeavesTheDocumentAlone) {
  Key().textCount = "x";
  document.SetLines(DocumentLines(strips));
  const Lines before = document.lines();
  EXPECT_THROW(CommitKeyText(document, keyLine, {"new"}), DocumentError);
  EXPECT_THROW(ApplyKeyLabel(document, keyLine, {}), DocumentError);
  EXPECT_EQ(document.lines(), before);

  // A count that runs past the end of the document.
  Lines cutShort = before.mid(0, keyLine + 33);
  cutShort[keyLine + 32] = "5";
  document.SetLines(cutShort);
  EXPECT_THROW(CommitKeyText(document, keyLine, {"new"}), DocumentError);
  EXPECT_EQ(document.lines(), cutShort);
}

TEST_F(KeyWriteTest, ALabelSetsFontSizeColoursAndEveryLineUncut) {
  Key().bold = "1";
  Key().align = "3";
  Key().colors = "255";
  Load();
  const Lines text = {QByteArray(25, 'L'), Sj("外線"), "3"};
  const KeyTextWrite write =
      ApplyKeyLabel(document, keyLine, {Sj("ＭＳ ゴシック"), 14, 65280, 65535, text});
  EXPECT_EQ(write.lineDelta, 1);
  Key().font = Sj("ＭＳ ゴシック");
  Key().size = "14";
  Key().colors = "65280,65535";
  Key().text = text;
  EXPECT_EQ(document.lines(), DocumentLines(strips));  // bold and alignment as they were
  ExpectSound();
}

TEST(KeySelectionTest, FlagsAndMarksChangeTogether) {
  KeySelection selection;
  QList<QPair<int, bool>> marks;
  selection.SetMarkSetter([&](int k, bool on) { marks.append({k, on}); });
  selection.Reset(8);

  selection.SelectRange(5, 2);  // either direction
  EXPECT_EQ(selection.SelectedKeys(), (std::vector<int>{2, 3, 4, 5}));
  selection.SelectRange(1, 3);  // keys already selected keep their mark
  EXPECT_EQ(marks, (QList<QPair<int, bool>>{{2, true}, {3, true}, {4, true}, {5, true}, {1, true}}));

  marks.clear();
  selection.Clear();
  EXPECT_EQ(selection.SelectedCount(), 0);
  EXPECT_EQ(marks.size(), 5);  // only the selected keys lose their mark

  selection.Select(6);
  EXPECT_FALSE(selection.Toggle(6));  // the only selected key stays
  EXPECT_TRUE(selection.Toggle(0));
  EXPECT_TRUE(selection.Toggle(6));
  EXPECT_EQ(selection.SelectedKeys(), (std::vector<int>{0}));
  EXPECT_FALSE(selection.Toggle(8));  // no such key
  selection.SelectRange(-3, 99);
  EXPECT_EQ(selection.SelectedCount(), 8);

  selection.Reset(3);
  EXPECT_EQ(selection.SelectedCount(), 0);
  selection.SelectAll();
  EXPECT_EQ(selection.SelectedKeys(), (std::vector<int>{0, 1, 2}));
}

// Which keys on a focused key panel open its editor, and how.
TEST(PanelKeyActionTest, PrintableCharactersTypeEnterAndF2OpenAtTheEnd) {
  using A = PanelKeyAction;
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    A action;
  } cases[] = {
      {Qt::Key_A, Qt::NoModifier, "a", A::StartTyping},
      {Qt::Key_unknown, Qt::NoModifier, "営", A::StartTyping},  // a character without a key code
      {Qt::Key_Return, Qt::NoModifier, "\r", A::OpenAtEnd},
      {Qt::Key_F2, Qt::NoModifier, "", A::OpenAtEnd},
      {Qt::Key_A, Qt::ControlModifier, "\x01", A::None},  // shortcuts stay the window's
      {Qt::Key_Tab, Qt::NoModifier, "\t", A::None},
      {Qt::Key_Delete, Qt::NoModifier, "\x7f", A::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.text);
    EXPECT_EQ(PanelKeyActionOf(press), c.action);
  }
  QInputMethodEvent composing(QStringLiteral("えい"), {});
  EXPECT_EQ(PanelKeyActionOf(composing), A::StartTyping);
  QInputMethodEvent committed;
  committed.setCommitString(QStringLiteral("営"));
  EXPECT_EQ(PanelKeyActionOf(committed), A::StartTyping);
  EXPECT_EQ(PanelKeyActionOf(QInputMethodEvent()), A::None);  // a composition cancelled
}
