// Writing key texts into key blocks (the editor's commit and a palette
// label) and the selection model, on documents built line by line: after
// every write the whole document equals the one built with the new text.
#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
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

TEST_F(KeyWriteTest, CommitCutsEachLineTo20BytesAndWritesTheCount) {
  const struct {
    const char* name;
    QStringList editor;
    Lines stored;
  } cases[] = {
      {"two lines", {"ab", "cd"}, {"ab", "cd"}},
      {"25 single-byte characters keep 20", {QString(25, 'x')}, {QByteArray(20, 'x')}},
      {"a 20th byte that starts a double-byte character keeps 19",
       {QString(19, 'x') + QStringLiteral("漢字")},
       {QByteArray(19, 'x')}},
      {"double-byte characters up to 20 bytes", {QStringLiteral("営業部営業部営業部営業部")},
       {Sj("営業部営業部営業部営")}},
      {"an empty editor leaves no line", {}, {}},
      {"a paste keeps every line", {"1", QString(21, 'y'), "3"}, {"1", QByteArray(20, 'y'), "3"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Load();
    const KeyTextWrite write = CommitKeyText(document, keyLine, c.editor);
    EXPECT_EQ(write.text, c.stored);
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
