// The search engine on built documents: the walk over keys and strips,
// the positions over Shift_JIS bytes, the case rule, the replacements and
// the editor ranges. Each replacement is checked against the document built
// with the expected key texts, byte for byte.
#include <gtest/gtest.h>

#include "document/StripLayout.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/KeySearch.h"

namespace {

// Strip texts: one list of text lines per key; keys 0-1 in a first group,
// the rest in a second.
using StripTexts = QList<Lines>;

Lines DocumentOf(const QList<StripTexts>& strips) {
  QList<TestStrip> built;
  for (const StripTexts& keys : strips) {
    TestStrip& strip = built.emplace_back();
    strip.groups = {TestGroup(), TestGroup()};
    for (qsizetype k = 0; k < keys.size(); ++k) {
      strip.groups[k < 2 ? 0 : 1].keys.append(TestKey::Editable(static_cast<int>(k) + 1, keys[k]));
    }
  }
  return DocumentLines(built);
}

// A key's new text lines, by strip and key index.
struct Change {
  int strip, key;
  Lines text;
};

struct Found {
  int strip, key, position;
  bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
  return out << "strip " << f.strip << " key " << f.key << " position " << f.position;
}

constexpr Found kNone{0, 0, 0};

struct KeySearchTest : ::testing::Test {
  QList<StripTexts> texts{
      {{"abc", "ABC"}, {Sj("外線")}, {}, {"X", Sj("外線1外線2")}},
      {{Sj("ａｂｃ")}, {Sj("ア外線")}},
  };
  StripDocument document;
  SearchState state;
  SearchRequest request;

  void SetUp() override { Load(); }
  void Load() {
    document.SetLines(DocumentOf(texts));
    state = {};
  }

  Found Press(SearchMode mode = SearchMode::Find, SearchStart current = {1, 0}) {
    const SearchStepResult step = SearchKeyTexts(document, state, mode, request, current);
    return step.found ? Found{state.strip, state.key, state.pending} : kNone;
  }
  void Search(const char* text, const char* replacement = "") {
    request.searchText = Sj(text);
    request.replacement = Sj(replacement);
  }
  // The first press from `current`, the others as if from strip 1 key 0.
  std::vector<Found> Presses(SearchMode mode, SearchStart current, size_t count) {
    std::vector<Found> found;
    for (size_t i = 0; i < count; ++i) found.push_back(Press(mode, i == 0 ? current : SearchStart{1, 0}));
    return found;
  }
  void ExpectTexts(const std::vector<Change>& changes = {}) {
    for (const Change& c : changes) texts[c.strip - 1][c.key] = c.text;
    EXPECT_EQ(document.lines(), DocumentOf(texts));
  }
};

}  // namespace

TEST_F(KeySearchTest, LocateKeyBlockWalksOnlyTheKeysOfOneStrip) {
  const Lines& lines = document.lines();
  for (int strip = 1; strip <= 2; ++strip) {
    const int keys = static_cast<int>(texts[strip - 1].size());
    for (int key = 0; key <= keys; ++key) {
      const qsizetype expected = key < keys ? KeyBlockLine(lines, document.FindStrip(strip) + 1, key) : -1;
      EXPECT_EQ(LocateKeyBlock(document, strip, key), expected) << strip << " " << key;
    }
  }
  for (const auto& [strip, key] : {std::pair{0, 0}, {3, 0}, {1, -1}}) EXPECT_EQ(LocateKeyBlock(document, strip, key), -1);
  // A text count that would run into strip 2 ends strip 1 at that key; a
  // count that is no number ends it too. The keys before stay reachable.
  document.Replace(LocateKeyBlock(document, 1, 3) + layout::kTextCount, "40");
  EXPECT_EQ(LocateKeyBlock(document, 1, 3), -1);
  EXPECT_EQ(LocateKeyBlock(document, 1, 1), KeyBlockLine(lines, document.FindStrip(1) + 1, 1));
  document.Replace(LocateKeyBlock(document, 1, 0) + layout::kTextCount, "x");
  EXPECT_EQ(LocateKeyBlock(document, 1, 1), -1);
  EXPECT_NE(LocateKeyBlock(document, 2, 1), -1);
}

TEST_F(KeySearchTest, CaseRuleFoldsOnlySingleByteAsciiLetters) {
  struct Case {
    const char *line, *text;
    bool matchCase, equal;
  };
  const Case cases[] = {
      {"ABC", "abc", false, true},      {"aBc", "AbC", false, true}, {"ABC", "abc", true, false},
      {"ABC", "ABC", true, true},       {"ＡＢＣ", "ＡＢＣ", false, true},
      {"ＡＢＣ", "ａｂｃ", false, false},  // full-width letters do not fold
      {"ヂ", "ア", false, false},         // 83 61 and 83 41: the second bytes look like a and A
      {"[", "{", false, false},           // 5B and 7B differ by the case bit but are no letters
      {"@1", "`1", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextMatchesAt(Sj(c.line), 0, Sj(c.text), c.matchCase), c.equal) << c.line << " " << c.text;
  }
  EXPECT_FALSE(TextMatchesAt("AB", 1, "BC", false));  // the rest of the line is too short
}

// Find and replace walk the same matches: from the current key's first
// position on through the strip's second group and its second line (X + CR
// LF = 3 positions before it), directly after the match, and across to the
// next strip past the double-byte ア (two positions). Replace changes, at
// each press, the match the press before showed, and only that.
TEST_F(KeySearchTest, FindAndReplaceWalkKeysAndStripsWithPositionsOverBytes) {
  struct Step {
    Found found;
    SearchReplacement replaced;  // in replace mode; strip 0 for none
    Lines text;                  // the replaced key's text after it
  };
  const Step steps[] = {
      {{1, 1, 1}, {}, {}},
      {{1, 3, 4}, {1, 1, 1, 4}, {Sj("局線")}},
      {{1, 3, 9}, {1, 3, 4, 4}, {"X", Sj("局線1外線2")}},
      {{2, 1, 3}, {1, 3, 9, 4}, {"X", Sj("局線1局線2")}},
      {kNone, {2, 1, 3, 4}, {Sj("ア局線")}},
  };
  const QList<StripTexts> original = texts;
  for (const SearchMode mode : {SearchMode::Find, SearchMode::Replace}) {
    SCOPED_TRACE(mode == SearchMode::Find ? "find" : "replace");
    texts = original;
    Load();
    Search("外線", "局線");
    for (const Step& step : steps) {
      SCOPED_TRACE(step.found);
      const SearchStepResult result = SearchKeyTexts(document, state, mode, request, {1, &step == steps ? 1 : 0});
      EXPECT_EQ((result.found ? Found{state.strip, state.key, state.pending} : kNone), step.found);
      if (&step == steps) {
        EXPECT_EQ(state.resume, 4);
      }
      const SearchReplacement& r = step.replaced;
      const bool replaced = mode == SearchMode::Replace && r.strip != 0;
      ASSERT_EQ(result.replaced, replaced);
      if (replaced) {
        const SearchReplacement& got = result.replacement;
        EXPECT_EQ((std::vector{got.strip, got.key, got.position, got.length}),
                  (std::vector{r.strip, r.key, r.position, r.length}));
        ExpectTexts({{r.strip, r.key, step.text}});
      }
      ExpectTexts();
    }
    // Past the last strip the last match stays; find starts the next press
    // in that key from its first position, replace has used it up.
    EXPECT_EQ((std::pair{state.strip, state.key}), (std::pair{2, 1}));
    EXPECT_EQ(Press(mode), (mode == SearchMode::Find ? Found{2, 1, 3} : kNone));
    ExpectTexts();
  }
}

TEST_F(KeySearchTest, StartingPointCaseAndWholeCharacters) {
  struct Row {
    const char* what;
    QByteArray text;
    bool matchCase, fromTop;
    SearchStart current;
    std::vector<Found> presses;
  };
  const Row rows[] = {
      {"from the top, case folded", "abc", false, true, {2, 1}, {{1, 0, 1}, {1, 0, 6}, kNone}},  // not ａｂｃ
      {"case kept", "abc", true, false, {1, 0}, {{1, 0, 1}, kNone}},
      {"no strip laid out: from strip 1", "abc", true, false, {0, 0}, {{1, 0, 1}}},
      // ア is 83 41, 外 is 8A 4F and 線 is 90 FC: no match starts on a
      // second byte.
      {"A in ア", "A", true, false, {2, 0}, {kNone}},
      {"O in 外", "O", true, false, {1, 1}, {kNone}},
      {"4F 90 across 外線", QByteArray("\x4F\x90", 2), true, false, {1, 1}, {kNone}},
      {"empty", "", false, false, {1, 0}, {kNone}},
      {"longer than every line", "abcdefghijklmnopqrstuvwxyz", false, false, {1, 0}, {kNone}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    state = {};
    request = {row.text, {}, row.matchCase, row.fromTop};
    EXPECT_EQ(Presses(SearchMode::Find, row.current, row.presses.size()), row.presses);
  }
  ExpectTexts();
}

TEST_F(KeySearchTest, ReplacePressesResumeDirectlyAfterTheInsertedText) {
  struct Row {
    const char *what, *find, *replacement;
    SearchStart current;
    std::vector<Found> presses;
    Change change;
  };
  const Row rows[] = {
      {"a replacement holding the search text", "a", "aa", {1, 0}, {{1, 0, 1}, {1, 0, 3}, {1, 0, 5}, kNone},
       {1, 0, {"aaaaaa"}}},
      {"an empty replacement", "b", "", {1, 1}, {{1, 1, 1}, {1, 1, 2}, kNone}, {1, 1, {"-"}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    texts = {{{"aaa"}, {"b-b"}}};
    Load();
    Search(row.find, row.replacement);
    EXPECT_EQ(Presses(SearchMode::Replace, row.current, row.presses.size()), row.presses);
    ExpectTexts({row.change});
  }
}

TEST_F(KeySearchTest, PendingMatchIsReplacedOnlyWhereItWasShown) {
  Search("外線", "局線");
  EXPECT_EQ(Press(SearchMode::Replace, {1, 1}), (Found{1, 1, 1}));
  // The key's text changed under the shown match: nothing is replaced, not
  // even the occurrence at the same position of the next key.
  texts[0][1] = {"ZZZZ"};
  texts[0][2] = {Sj("外線")};
  document.SetLines(DocumentOf(texts));
  EXPECT_FALSE(SearchKeyTexts(document, state, SearchMode::Replace, request, {1, 0}).replaced);
  EXPECT_EQ((Found{state.strip, state.key, state.pending}), (Found{1, 2, 1}));
  ExpectTexts();
}

TEST_F(KeySearchTest, ReplaceAllFromTheStartingPointToTheLastStrip) {
  struct Row {
    const char *what, *find, *replacement;
    QList<StripTexts> texts;  // the fixture's when empty
    SearchStart current;
    bool pressFirst;  // from the match a press has shown, that match included
    int count;
    std::vector<std::pair<int, int>> changed;
    std::vector<Change> changes;
  };
  const Row rows[] = {
      {"from key 3: key 1 left alone", "外線", "局線", {}, {1, 3}, false, 3, {{1, 3}, {2, 1}},
       {{1, 3, {"X", Sj("局線1局線2")}}, {2, 1, {Sj("ア局線")}}}},
      {"from a shown match", "外線1", "L", {}, {1, 3}, true, 1, {{1, 3}}, {{1, 3, {"X", "L" + Sj("外線2")}}}},
      {"empty search text", "", "L", {}, {1, 0}, false, 0, {}, {}},
      // 16 + 6 bytes: cut before the third character, which would end at byte 22.
      {"lines keep 20 bytes", "AB", "あいう", {{{"0123456789012345AB"}}}, {1, 0}, false, 1, {{1, 0}},
       {{1, 0, {"0123456789012345" + Sj("あい")}}}},
  };
  const QList<StripTexts> original = texts;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    texts = row.texts.isEmpty() ? original : row.texts;
    Load();
    Search(row.find, row.replacement);
    if (row.pressFirst) {
      EXPECT_EQ(Press(SearchMode::Replace, row.current), (Found{1, 3, 4}));
    }
    std::vector<std::pair<int, int>> changed;
    auto record = [&](int strip, int key) { changed.emplace_back(strip, key); };
    EXPECT_EQ(ReplaceAllKeyTexts(document, state, request, row.current, record), row.count);
    EXPECT_EQ(changed, row.changed);
    ExpectTexts(row.changes);
  }
}

TEST_F(KeySearchTest, EditorRangesCountCharactersAndOneBreakPerLine) {
  const Lines text{Sj("ア外"), Sj("X外線")};
  struct Case {
    int position, length, start, characters;
  };
  const Case cases[] = {
      {1, 2, 0, 1},   // ア
      {3, 2, 1, 1},   // 外 on line 1
      {8, 4, 4, 2},   // 外線 on line 2: ア外 + break + X before it
      {7, 1, 3, 1},   // X
      {12, 0, 6, 0},  // the caret after the last character
  };
  for (const Case& c : cases) {
    const EditorRange range = EditorRangeOf(text, c.position, c.length);
    EXPECT_EQ((std::pair{range.start, range.length}), (std::pair{c.start, c.characters})) << c.position;
  }
}
