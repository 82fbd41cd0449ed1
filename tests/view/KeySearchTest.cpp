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

TestStrip StripOf(const StripTexts& keys) {
  TestStrip strip;
  TestGroup first, second;
  for (qsizetype k = 0; k < keys.size(); ++k) {
    (k < 2 ? first : second).keys.append(TestKey::Editable(static_cast<int>(k) + 1, keys[k]));
  }
  strip.groups = {first, second};
  return strip;
}

Lines DocumentOf(const QList<StripTexts>& strips) {
  QList<TestStrip> built;
  for (const StripTexts& keys : strips) built.append(StripOf(keys));
  return DocumentLines(built);
}

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

  void SetUp() override { document.SetLines(DocumentOf(texts)); }

  Found Press(SearchMode mode = SearchMode::Find, SearchStart current = {1, 0}) {
    const SearchStepResult step = SearchKeyTexts(document, state, mode, request, current);
    return step.found ? Found{state.strip, state.key, state.pending} : kNone;
  }
  void Search(const char* text, const char* replacement = "") {
    request.searchText = Sj(text);
    request.replacement = Sj(replacement);
  }
  void ExpectTexts() { EXPECT_EQ(document.lines(), DocumentOf(texts)); }
};

}  // namespace

TEST_F(KeySearchTest, LocateKeyBlockWalksOnlyTheKeysOfOneStrip) {
  const Lines& lines = document.lines();
  for (int strip = 1; strip <= 2; ++strip) {
    const qsizetype start = document.FindStrip(strip) + 1;
    for (int key = 0; key < texts[strip - 1].size(); ++key) {
      EXPECT_EQ(LocateKeyBlock(document, strip, key), KeyBlockLine(lines, start, key)) << strip << " " << key;
    }
    EXPECT_EQ(LocateKeyBlock(document, strip, static_cast<int>(texts[strip - 1].size())), -1);
  }
  EXPECT_EQ(LocateKeyBlock(document, 0, 0), -1);
  EXPECT_EQ(LocateKeyBlock(document, 3, 0), -1);
  EXPECT_EQ(LocateKeyBlock(document, 1, -1), -1);

  // A text count that would run into strip 2 ends strip 1 at that key; a
  // count that is no number ends it too. The keys before stay reachable.
  const qsizetype key3 = LocateKeyBlock(document, 1, 3);
  document.Replace(key3 + layout::kTextCount, "40");
  EXPECT_EQ(LocateKeyBlock(document, 1, 3), -1);
  EXPECT_EQ(LocateKeyBlock(document, 1, 1), KeyBlockLine(lines, document.FindStrip(1) + 1, 1));
  document.Replace(LocateKeyBlock(document, 1, 0) + layout::kTextCount, "x");
  EXPECT_EQ(LocateKeyBlock(document, 1, 1), -1);
  EXPECT_NE(LocateKeyBlock(document, 2, 1), -1);
}

TEST_F(KeySearchTest, CaseRuleFoldsOnlySingleByteAsciiLetters) {
  struct Case {
    const char* line;
    const char* text;
    bool matchCase;
    bool equal;
  };
  const Case cases[] = {
      {"ABC", "abc", false, true},
      {"aBc", "AbC", false, true},
      {"ABC", "abc", true, false},
      {"ABC", "ABC", true, true},
      {"ＡＢＣ", "ａｂｃ", false, false},  // full-width letters do not fold
      {"ＡＢＣ", "ＡＢＣ", false, true},
      {"ヂ", "ア", false, false},  // 83 61 and 83 41: the second bytes look like a and A
      {"[", "{", false, false},    // 5B and 7B differ by the case bit but are no letters
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
    document.SetLines(DocumentOf(texts));
    state = {};
    Search("外線", "局線");
    for (const Step& step : steps) {
      SCOPED_TRACE(step.found);
      const SearchStart current = &step == steps ? SearchStart{1, 1} : SearchStart{1, 0};
      const SearchStepResult result = SearchKeyTexts(document, state, mode, request, current);
      EXPECT_EQ((result.found ? Found{state.strip, state.key, state.pending} : kNone), step.found);
      if (&step == steps) {
        EXPECT_EQ(state.resume, 4);
      }
      const bool replaced = mode == SearchMode::Replace && step.replaced.strip != 0;
      ASSERT_EQ(result.replaced, replaced);
      if (replaced) {
        const SearchReplacement& r = result.replacement;
        EXPECT_EQ((std::vector<int>{r.strip, r.key, r.position, r.length}),
                  (std::vector<int>{step.replaced.strip, step.replaced.key, step.replaced.position,
                                    step.replaced.length}));
        texts[step.replaced.strip - 1][step.replaced.key] = step.text;
      }
      ExpectTexts();
    }
    // Past the last strip the last match stays; find starts the next press
    // in that key from its first position, replace has used it up.
    EXPECT_EQ(state.strip, 2);
    EXPECT_EQ(state.key, 1);
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
    std::vector<Found> presses;
    for (size_t i = 0; i < row.presses.size(); ++i) presses.push_back(Press(SearchMode::Find, i == 0 ? row.current : SearchStart{1, 0}));
    EXPECT_EQ(presses, row.presses);
  }
  Search("");
  EXPECT_EQ(ReplaceAllKeyTexts(document, state, request, {1, 0}), 0);
  ExpectTexts();
}

TEST_F(KeySearchTest, ReplacementResumesDirectlyAfterTheInsertedText) {
  texts = {{{"aaa"}, {"b-b"}}};
  document.SetLines(DocumentOf(texts));
  // A replacement containing the search text is not found again.
  Search("a", "aa");
  const SearchMode replace = SearchMode::Replace;
  EXPECT_EQ(Press(replace), (Found{1, 0, 1}));
  EXPECT_EQ(Press(replace), (Found{1, 0, 3}));
  EXPECT_EQ(Press(replace), (Found{1, 0, 5}));
  EXPECT_EQ(Press(replace), kNone);
  texts[0][0] = {"aaaaaa"};
  ExpectTexts();
  // An empty replacement goes on at the same position.
  state = {};
  Search("b", "");
  EXPECT_EQ(Press(replace, {1, 1}), (Found{1, 1, 1}));
  EXPECT_EQ(Press(replace), (Found{1, 1, 2}));
  EXPECT_EQ(Press(replace), kNone);
  texts[0][1] = {"-"};
  ExpectTexts();
}

TEST_F(KeySearchTest, PendingMatchIsReplacedOnlyWhereItWasShown) {
  Search("外線", "局線");
  const SearchMode replace = SearchMode::Replace;
  EXPECT_EQ(Press(replace, {1, 1}), (Found{1, 1, 1}));
  // The key's text changed under the shown match: nothing is replaced, not
  // even the occurrence at the same position of the next key.
  texts[0][1] = {"ZZZZ"};
  texts[0][2] = {Sj("外線")};
  document.SetLines(DocumentOf(texts));
  const SearchStepResult step = SearchKeyTexts(document, state, replace, request, {1, 0});
  EXPECT_FALSE(step.replaced);
  EXPECT_EQ((Found{state.strip, state.key, state.pending}), (Found{1, 2, 1}));
  ExpectTexts();
}

TEST_F(KeySearchTest, ReplacedLinesKeepTwentyBytes) {
  texts = {{{"0123456789012345AB"}}};
  document.SetLines(DocumentOf(texts));
  Search("AB", "あいう");
  EXPECT_EQ(ReplaceAllKeyTexts(document, state, request, {1, 0}), 1);
  // 16 + 6 bytes: cut before the third character, which would end at byte 22.
  texts[0][0] = {"0123456789012345" + Sj("あい")};
  ExpectTexts();
}

TEST_F(KeySearchTest, ReplaceAllFromTheStartingPointToTheLastStrip) {
  Search("外線", "局線");
  std::vector<std::pair<int, int>> changed;
  auto record = [&](int strip, int key) { changed.emplace_back(strip, key); };
  // From the current key 3 of strip 1: key 1 is left alone.
  EXPECT_EQ(ReplaceAllKeyTexts(document, state, request, {1, 3}, record), 3);
  EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{1, 3}, {2, 1}}));
  texts[0][3] = {"X", Sj("局線1局線2")};
  texts[1][1] = {Sj("ア局線")};
  ExpectTexts();
  // From the match a press has shown, that match included.
  document.SetLines(DocumentOf(texts));
  Search("局線1", "L");
  EXPECT_EQ(Press(SearchMode::Replace, {1, 3}), (Found{1, 3, 4}));
  EXPECT_EQ(ReplaceAllKeyTexts(document, state, request, {1, 0}), 1);
  texts[0][3] = {"X", "L" + Sj("局線2")};
  ExpectTexts();
}

TEST_F(KeySearchTest, EditorRangesCountCharactersAndOneBreakPerLine) {
  const Lines text{Sj("ア外"), Sj("X外線")};
  struct Case {
    int position, length;
    EditorRange range;
  };
  const Case cases[] = {
      {1, 2, {0, 1}},  // ア
      {3, 2, {1, 1}},  // 外 on line 1
      {8, 4, {4, 2}},  // 外線 on line 2: ア外 + break + X before it
      {7, 1, {3, 1}},  // X
      {12, 0, {6, 0}},  // the caret after the last character
  };
  for (const Case& c : cases) {
    const EditorRange range = EditorRangeOf(text, c.position, c.length);
    EXPECT_EQ(range.start, c.range.start) << c.position;
    EXPECT_EQ(range.length, c.range.length) << c.position;
  }
}
