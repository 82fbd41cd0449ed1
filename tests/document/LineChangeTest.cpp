// Changes recorded by the document and taken back: random edits undone and
// made again byte for byte, with the strip index right after each, and
// change sets that do not fit the document refused without a trace.
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "DocumentBuilder.h"
#include "document/LineChange.h"
#include "document/StripDocument.h"
#include "document/StripList.h"

namespace {

StripDocument DocumentOf(const Lines& lines) {
  StripDocument document;
  document.SetLines(lines);
  return document;
}

// The separators a document of the same lines finds from scratch.
void ExpectIndexAsFresh(const StripDocument& document) {
  const StripDocument fresh = DocumentOf(document.lines());
  ASSERT_EQ(document.StripSeparators().size(), fresh.StripSeparators().size());
  for (size_t i = 0; i < fresh.StripSeparators().size(); ++i) {
    EXPECT_EQ(document.StripSeparators()[i].line, fresh.StripSeparators()[i].line);
    EXPECT_EQ(document.StripSeparators()[i].number, fresh.StripSeparators()[i].number);
  }
  for (int n = 1; n <= fresh.HighestStripNumber() + 1; ++n) EXPECT_EQ(document.FindStrip(n), fresh.FindStrip(n));
}

// One random edit through the document's own operations; `forward` keeps
// every edit below the one before, as a replace-all walks.
void RandomEdit(StripDocument& document, QRandomGenerator& random, qsizetype& cursor, bool forward) {
  const qsizetype size = document.size();
  const qsizetype from = forward ? cursor : 0;
  if (from >= size) return;
  // Now and then the line just written again, as a replace-all does for a
  // second match in one line.
  const bool again = !forward && cursor >= 3 && cursor - 3 < size && random.bounded(3) == 0;
  const qsizetype i =
      again ? cursor - 3 : from + random.bounded(std::min<qsizetype>(size - from, forward ? 40 : size));
  const QByteArray line = "x" + QByteArray::number(random.bounded(1000));
  switch (random.bounded(forward ? 3 : 5)) {
    case 0: document.Replace(i, line); break;
    case 1: document.ReplaceTextLine(i, line); break;
    case 2: document.Insert(i, Lines{line, line + "b"}); break;
    case 3: document.Remove(i, 1 + random.bounded(3)); break;
    default: document.Replace(i, random.bounded(2) ? QByteArray("7") + QByteArray(10, '\xFF') : line); break;
  }
  cursor = i + 3;
}

}  // namespace

TEST(LineChange, RandomEditsAreUndoneAndRedoneByteForByte) {
  for (quint32 seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    QRandomGenerator random(seed);
    const bool forward = seed % 3 == 0;  // large forward sets take the one-pass path
    const Lines original = SimpleDocument(1 + random.bounded(6), 3);
    StripDocument document = DocumentOf(original);
    document.StartRecording();
    qsizetype cursor = 0;
    const int edits = forward ? 200 : 1 + random.bounded(40);
    for (int e = 0; e < edits; ++e) RandomEdit(document, random, cursor, forward);
    const ChangeSet changes = document.TakeRecording();
    const Lines changed = document.lines();

    ASSERT_TRUE(document.Apply(Inverse(changes)));
    EXPECT_EQ(document.lines(), original);
    ExpectIndexAsFresh(document);
    ASSERT_TRUE(document.Apply(changes));
    EXPECT_EQ(document.lines(), changed);
    ExpectIndexAsFresh(document);
  }
}

TEST(LineChange, ChangesThatDoNotFitAreRefusedAndLeaveNothing) {
  const Lines original = SimpleDocument(3);
  StripDocument document = DocumentOf(original);
  document.StartRecording();
  document.Replace(10, "a");
  document.Insert(20, Lines{"b", "c"});
  document.Replace(30, "d");
  const ChangeSet changes = document.TakeRecording();
  // Undone once, the changes no longer fit: undoing again must refuse, and
  // the changes it made before finding out must be taken back.
  ASSERT_TRUE(document.Apply(Inverse(changes)));
  document.Replace(10, "other");
  const Lines before = document.lines();
  EXPECT_FALSE(document.Apply(Inverse(changes)));
  EXPECT_EQ(document.lines(), before);
  ChangeSet past{{before.size() + 1, Lines(), Lines{"z"}}};
  EXPECT_FALSE(document.Apply(past));
  EXPECT_EQ(document.lines(), before);
}

TEST(LineChange, DeletingStripsIsOneChangeSetThatUndoesWithNumbersAndCount) {
  const Lines original = SimpleDocument(200, 2);
  for (const QList<int>& rows : {QList<int>{0}, QList<int>{199}, QList<int>{3, 4, 5, 100}, [] {
         QList<int> every;
         for (int r = 0; r < 200; r += 2) every.append(r);
         return every;
       }()}) {
    StripDocument document = DocumentOf(original);
    document.StartRecording();
    DeleteStripRows(document, rows);
    const ChangeSet changes = document.TakeRecording();
    const Lines deleted = document.lines();
    EXPECT_EQ(document.StripCount(), 200 - rows.size());
    ASSERT_TRUE(document.Apply(Inverse(changes)));
    EXPECT_EQ(document.lines(), original);
    ExpectIndexAsFresh(document);
    ASSERT_TRUE(document.Apply(changes));
    EXPECT_EQ(document.lines(), deleted);
  }
}

TEST(LineChange, ChangedRangesFollowLaterChanges) {
  auto lines = [](int n) { return Lines(n, "l"); };
  struct Case {
    ChangeSet changes;
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
  };
  const Case cases[] = {
      {{{5, lines(1), lines(1)}, {9, lines(1), lines(1)}}, {{5, 6}, {9, 10}}},
      // A later insertion above moves the range below it.
      {{{9, lines(1), lines(1)}, {2, Lines(), lines(3)}}, {{2, 5}, {12, 13}}},
      // Touching ranges merge; a removal marks its place.
      {{{4, lines(2), lines(2)}, {6, lines(1), Lines()}}, {{4, 6}}},
      {{{8, lines(4), Lines()}}, {{8, 8}}},
      // A later change over an earlier one's lines swallows it.
      {{{10, Lines(), lines(5)}, {8, lines(9), lines(1)}}, {{8, 9}}},
      // Backward, as an undo of a forward walk: each change moves the ones
      // below it; touching ones merge.
      {{{20, lines(1), lines(1)}, {12, lines(2), lines(1)}, {3, Lines(), lines(2)}}, {{3, 5}, {14, 15}, {21, 22}}},
      {{{9, lines(1), Lines()}, {6, lines(3), lines(1)}, {2, lines(1), lines(1)}}, {{2, 3}, {6, 7}}},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<qsizetype, qsizetype>> got;
    for (const LineRange& r : ChangedRanges(c.changes)) got.emplace_back(r.from, r.to);
    EXPECT_EQ(got, c.ranges);
  }
}

TEST(LineChange, ALineWrittenAgainJoinsTheChangeThatWroteItAndWrittenBackItDrops) {
  ChangeSet changes;
  AppendChange(changes, {10, Lines{"a", "b"}, Lines{"A", "B"}, true});
  AppendChange(changes, {11, Lines{"B"}, Lines{"x"}, true});  // within the lines just put in
  AppendChange(changes, {20, Lines{"e"}, Lines{"f"}, true});
  AppendChange(changes, {20, Lines{"f"}, Lines{"e"}, true});  // written back
  DropUnchanged(changes);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].inserted, (Lines{"A", "x"}));
}
