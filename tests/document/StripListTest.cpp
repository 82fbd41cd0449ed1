// Deleting strips with the renumbering of the later ones, writing an edited
// header back, and the check that the list and the document agree.
#include <QRandomGenerator>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "DocumentBuilder.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"
#include "document/StripList.h"
#include "document/StripRow.h"
#include "support/TestFiles.h"

namespace {

// Separator lines spelled out here, so that the tests do not lean on the
// code they check.
QByteArray Sep(int n) { return QByteArray::number(n) + QByteArray(10, '\xFF'); }

StripDocument SavedDocument(const Lines& lines) {
  StripDocument document;
  document.SetLines(lines);
  document.MarkSaved();
  return document;
}

// Strip n of `lines`, found by scanning, behind the separator of `number`.
Lines StripAs(const Lines& lines, int n, int number) {
  const qsizetype from = lines.indexOf(Sep(n));
  qsizetype to = lines.indexOf(Sep(n + 1));
  if (to < 0) to = lines.size();
  Lines block = lines.mid(from, to - from);
  block[0] = Sep(number);
  return block;
}

// The document of `original`'s strips `kept`, renumbered 1, 2, ...
Lines Keeping(const Lines& original, const QList<int>& kept) {
  Lines lines{original[0], QByteArray::number(kept.size())};
  for (int i = 0; i < kept.size(); ++i) lines += StripAs(original, kept[i], i + 1);
  return lines;
}

// The list as the window keeps it: the rows of the original document with
// the removed rows dropped in the order given.
QList<StripRow> ListAfter(const Lines& original, const StripDeletion& deletion) {
  QList<StripRow> rows = StripRowsOf(SavedDocument(original));
  for (int r : deletion.removedRows) rows.removeAt(r);
  return rows;
}

// The deletion written the plain way: a line-by-line pass per row, highest
// first, searching every number in turn. A strip's block ends at the next
// separator line of any strip. Used to check the fast one on documents of
// every shape, damaged ones too.
Lines DeletedStepByStep(Lines lines, QList<int> rows) {
  const int count = lines[1].toInt();
  std::sort(rows.begin(), rows.end(), std::greater<int>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (int r : rows) {
    for (int m = 1; m <= count; ++m) {
      const qsizetype s = lines.indexOf(Sep(m), 2);
      if (s < 0) continue;
      if (m > r + 1) lines[s] = Sep(m - 1);
      if (m != r + 1) continue;
      lines.removeAt(s);
      while (s < lines.size() && StripNumberOfSeparator(lines[s]) == 0) lines.removeAt(s);
    }
  }
  const int left = count - static_cast<int>(rows.size());
  if (left == 0) return {};
  lines[1] = QByteArray::number(left);
  return lines;
}

// The check's answer as std::string, so that a failure prints the text.
template <typename Rows>
std::string Violation(const StripDocument& document, const Rows& rows) {
  return StripListViolation(document, rows).toStdString();
}

}  // namespace

// --- Deleting ------------------------------------------------------------

TEST(DeleteStripRows, RenumberingExampleOfFiveStrips) {
  const Lines original = SimpleDocument(5);
  StripDocument document = SavedDocument(original);
  // Rows 1 and 3 are strips 2 and 4; row 1 had the focus.
  const StripDeletion deletion = DeleteStripRows(document, {1, 3}, 1);

  EXPECT_EQ(deletion.removedRows, QList<int>({3, 1}));
  EXPECT_TRUE(deletion.rowsWithoutStrip.isEmpty());
  EXPECT_EQ(deletion.stripsLeft, 3);
  EXPECT_EQ(deletion.rowToShow, 1);
  EXPECT_EQ(document.lines(), Keeping(original, {1, 3, 5}));
  EXPECT_EQ(document.at(1), "3");
  // The strip now at row 1 is the former strip 3.
  const qsizetype shown = document.FindStrip(deletion.rowToShow + 1);
  EXPECT_EQ(document.at(shown), QByteArray::fromHex("32FFFFFFFFFFFFFFFFFFFF"));
  EXPECT_EQ(document.at(shown + 1), "103");
  EXPECT_EQ(document.at(document.FindStrip(3) + 1), "105");
  EXPECT_EQ(Violation(document, ListAfter(original, deletion)), "");
  // Only the lines changed; the saved copy still holds the file as loaded.
  EXPECT_EQ(document.SavedCopy(), original);
  EXPECT_TRUE(document.IsChanged());
}

TEST(DeleteStripRows, FirstAndLastOfFiveShowTheStripInTheirPlace) {
  const Lines original = SimpleDocument(5);
  {
    StripDocument document = SavedDocument(original);
    const StripDeletion deletion = DeleteStripRows(document, {4}, 4);
    EXPECT_EQ(deletion.rowToShow, 3);  // strip 4, now the last
    EXPECT_EQ(document.lines(), Keeping(original, {1, 2, 3, 4}));
    EXPECT_EQ(Violation(document, ListAfter(original, deletion)), "");
  }
  {
    StripDocument document = SavedDocument(original);
    const StripDeletion deletion = DeleteStripRows(document, {0}, 0);
    EXPECT_EQ(deletion.rowToShow, 0);  // the new strip 1, formerly strip 2
    EXPECT_EQ(document.lines(), Keeping(original, {2, 3, 4, 5}));
    EXPECT_EQ(document.at(document.FindStrip(1) + 1), "102");
    EXPECT_EQ(Violation(document, ListAfter(original, deletion)), "");
  }
}

TEST(DeleteStripRows, TheStripShownAfterwards) {
  // The focused row is noted before the delete and not corrected for the
  // rows removed above it. Rows 0 and 1 of five gone, three left:
  const Lines original = SimpleDocument(5);
  StripDocument document = SavedDocument(original);
  EXPECT_EQ(DeleteStripRows(document, {0, 1}, 3).rowToShow, 2);  // past the end: the last, former strip 5
  document = SavedDocument(original);
  EXPECT_EQ(DeleteStripRows(document, {0, 1}, 1).rowToShow, 1);  // former strip 4
  // Without a focused row: the strip that moved into the first place freed.
  document = SavedDocument(original);
  EXPECT_EQ(DeleteStripRows(document, {3, 1}).rowToShow, 1);
  document = SavedDocument(original);
  EXPECT_EQ(DeleteStripRows(document, {4, 3}).rowToShow, 2);
}

TEST(DeleteStripRows, TheLastStripLeavesNoLinesAtAll) {
  const Lines original = SimpleDocument(1);
  StripDocument document = SavedDocument(original);
  const StripDeletion deletion = DeleteStripRows(document, {0}, 0);
  EXPECT_EQ(deletion.removedRows, QList<int>({0}));
  EXPECT_EQ(deletion.stripsLeft, 0);
  EXPECT_EQ(deletion.rowToShow, -1);
  EXPECT_EQ(document.size(), 0);  // no version line, no count line
  EXPECT_EQ(document.StripCount(), 0);
  EXPECT_EQ(document.FindStrip(1), -1);
  EXPECT_EQ(document.SavedCopy(), original);
  EXPECT_TRUE(document.IsChanged());
  EXPECT_EQ(Violation(document, QList<StripRow>()), "");
}

TEST(DeleteStripRows, EveryRowSelectedEmptiesTheDocument) {
  StripDocument document = SavedDocument(SimpleDocument(4));
  // Repeated and out-of-range rows count once or not at all.
  const StripDeletion deletion = DeleteStripRows(document, {2, 0, 3, 1, 2, 9, -1}, 2);
  EXPECT_EQ(deletion.removedRows, QList<int>({3, 2, 1, 0}));
  EXPECT_EQ(deletion.stripsLeft, 0);
  EXPECT_EQ(deletion.rowToShow, -1);
  EXPECT_TRUE(document.isEmpty());
}

TEST(DeleteStripRows, NothingSelectedChangesNothing) {
  const Lines original = SimpleDocument(3);
  for (const QList<int>& rows : {QList<int>{}, QList<int>{-1, 3, 40}}) {
    StripDocument document = SavedDocument(original);
    const StripDeletion deletion = DeleteStripRows(document, rows, 0);
    EXPECT_TRUE(deletion.removedRows.isEmpty());
    EXPECT_EQ(deletion.stripsLeft, 3);
    EXPECT_EQ(deletion.rowToShow, -1);
    EXPECT_EQ(document.lines(), original);
    EXPECT_FALSE(document.IsChanged());
  }
  StripDocument empty;
  EXPECT_TRUE(DeleteStripRows(empty, {0}, 0).removedRows.isEmpty());
  EXPECT_TRUE(empty.isEmpty());
}

TEST(DeleteStripRows, SeparatorsGainAndLoseDigits) {
  const Lines original = SimpleDocument(12);
  StripDocument document = SavedDocument(original);
  // Strip 10 becomes 9: twelve bytes become eleven.
  DeleteStripRows(document, {0}, 0);
  EXPECT_EQ(document.at(document.FindStrip(9)), QByteArray::fromHex("39FFFFFFFFFFFFFFFFFFFF"));
  EXPECT_EQ(document.at(document.FindStrip(9) + 1), "110");
  EXPECT_EQ(document.at(document.FindStrip(10)), QByteArray::fromHex("3130FFFFFFFFFFFFFFFFFFFF"));
  EXPECT_EQ(document.at(document.FindStrip(10) + 1), "111");
  EXPECT_EQ(document.at(1), "11");
  EXPECT_EQ(document.lines(), Keeping(original, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

  // Strip 10 deleted: 11 and 12 become 10 and 11.
  document = SavedDocument(original);
  DeleteStripRows(document, {9}, 9);
  EXPECT_EQ(document.at(document.FindStrip(10)), QByteArray::fromHex("3130FFFFFFFFFFFFFFFFFFFF"));
  EXPECT_EQ(document.at(document.FindStrip(10) + 1), "111");
  EXPECT_EQ(document.lines(), Keeping(original, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12}));

  // The count line drops from two digits to one.
  document = SavedDocument(SimpleDocument(10));
  DeleteStripRows(document, {9, 5}, 9);
  EXPECT_EQ(document.at(1), "8");
  EXPECT_EQ(document.lines(), Keeping(SimpleDocument(10), {1, 2, 3, 4, 5, 7, 8, 9}));
}

TEST(DeleteStripRows, DamagedDocuments) {
  const Lines sound = SimpleDocument(5);
  // Strip 3's separator line damaged: nine 0xFF bytes instead of ten.
  Lines damaged = sound;
  const qsizetype third = damaged.indexOf(Sep(3));
  damaged[third] = "3" + QByteArray(9, '\xFF');
  {
    // Strip 3 itself: skipped, its row goes, the later strips move down.
    StripDocument document = SavedDocument(damaged);
    const StripDeletion deletion = DeleteStripRows(document, {2}, 2);
    EXPECT_EQ(deletion.removedRows, QList<int>({2}));
    EXPECT_EQ(deletion.rowsWithoutStrip, QList<int>({2}));
    Lines expected = damaged;
    expected[1] = "4";
    expected[expected.indexOf(Sep(4))] = Sep(3);
    expected[expected.indexOf(Sep(5))] = Sep(4);
    EXPECT_EQ(document.lines(), expected);
  }
  {
    // Strip 2, whose block now runs on to strip 4: strip 2 and the lines
    // without a separator go, strips 4 and 5 stay as 3 and 4.
    StripDocument document = SavedDocument(damaged);
    const StripDeletion deletion = DeleteStripRows(document, {1}, 1);
    EXPECT_TRUE(deletion.rowsWithoutStrip.isEmpty());
    Lines expected{sound[0], "4"};
    expected += StripAs(sound, 1, 1);
    expected += StripAs(sound, 4, 3);
    expected += StripAs(sound, 5, 4);
    EXPECT_EQ(document.lines(), expected);
  }
  {
    // A count line that is no number: nothing changes.
    Lines badCount = sound;
    badCount[1] = "five";
    StripDocument document = SavedDocument(badCount);
    EXPECT_THROW(DeleteStripRows(document, {0}, 0), DocumentError);
    EXPECT_EQ(document.lines(), badCount);
  }
  {
    // A first line that reads as strip 1's separator is still the file's
    // header: the count line below it stays, strip 1 proper goes.
    Lines early = sound;
    early[0] = Sep(1);
    StripDocument document = SavedDocument(early);
    DeleteStripRows(document, {0}, 0);
    Lines expected = Keeping(sound, {2, 3, 4, 5});
    expected[0] = Sep(1);
    EXPECT_EQ(document.lines(), expected);
  }
  {
    // A separator line beyond the count is never renumbered.
    Lines beyond = SimpleDocument(3);
    beyond[1] = "2";
    StripDocument document = SavedDocument(beyond);
    DeleteStripRows(document, {0}, 0);
    EXPECT_EQ(document.at(1), "1");
    EXPECT_GE(document.lines().indexOf(Sep(3)), 0);
    EXPECT_EQ(document.lines().indexOf(Sep(2)), -1);
  }
}

TEST(DeleteStripRows, AgreesWithTheStepByStepPassOnEveryShape) {
  QRandomGenerator random(20240401);
  for (int round = 0; round < 200; ++round) {
    const int strips = 1 + random.bounded(14);
    Lines lines = SimpleDocument(strips, 1 + random.bounded(3));
    // Every other round damages a few separator lines: gone, repeated or
    // swapped for another number.
    if (round % 2 == 1) {
      for (int d = random.bounded(3); d >= 0; --d) {
        const qsizetype s = lines.indexOf(Sep(1 + random.bounded(strips)));
        if (s < 0) continue;
        const int kind = random.bounded(3);
        lines[s] = kind == 0 ? QByteArray("damaged") : Sep(1 + random.bounded(strips + 2));
      }
    }
    QList<int> rows;
    for (int r = 0; r < strips; ++r) {
      if (random.bounded(3) == 0) rows.append(r);
    }
    StripDocument document = SavedDocument(lines);
    DeleteStripRows(document, rows, 0);
    ASSERT_EQ(document.lines(), DeletedStepByStep(lines, rows)) << "round " << round;
  }
}

TEST(DeleteStripRows, TheListAgreesAfterEveryDeleteDownToNone) {
  StripDocument document = SavedDocument(SimpleDocument(30, 1));
  QRandomGenerator random(7);
  while (!document.isEmpty()) {
    const int strips = document.StripCount();
    QList<StripRow> rows = StripRowsOf(document);
    const int focused = random.bounded(strips);
    const StripDeletion deletion = DeleteStripRows(document, {random.bounded(strips), focused}, focused);
    for (int r : deletion.removedRows) rows.removeAt(r);
    ASSERT_EQ(Violation(document, rows), "");
    ASSERT_EQ(deletion.rowToShow, deletion.stripsLeft == 0 ? -1 : std::min(focused, deletion.stripsLeft - 1));
    // The document's own index finds the strip shown where a scan does.
    if (deletion.rowToShow >= 0) {
      ASSERT_EQ(document.FindStrip(deletion.rowToShow + 1), document.lines().indexOf(Sep(deletion.rowToShow + 1)));
    }
  }
}

TEST(DeleteStripRows, KeyTextsThatLookLikeSeparatorsStayText) {
  // Strip 1's key holds texts that read as the separators of strips 2 and 3.
  const QList<Lines> strip1 = {Group({KeyBlock("1", {Sep(2), Sep(3)})})};
  const QList<Lines> strip2 = {Group({KeyBlock("1", {"two"})})};
  const QList<Lines> strip3 = {Group({KeyBlock("1", {"three"}), KeyBlock("2")})};
  const Lines lines = Document({StripBlock(1, strip1, "101"), StripBlock(2, strip2, "102"),
                                StripBlock(3, strip3, "103")});
  const QList<StripRow> rows = StripRowsOf(SavedDocument(lines));
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(rows[1].extension, "102");
  EXPECT_EQ(Violation(SavedDocument(lines), rows), "");
  struct Case {
    QList<int> deleted;
    Lines expected;
  };
  const QList<Case> cases = {
      {{0}, Document({StripBlock(1, strip2, "102"), StripBlock(2, strip3, "103")})},
      {{1}, Document({StripBlock(1, strip1, "101"), StripBlock(2, strip3, "103")})},
      {{0, 2}, Document({StripBlock(1, strip2, "102")})},
  };
  for (const Case& c : cases) {
    StripDocument document = SavedDocument(lines);
    const StripDeletion deletion = DeleteStripRows(document, c.deleted, 0);
    EXPECT_TRUE(deletion.rowsWithoutStrip.isEmpty());
    EXPECT_EQ(document.lines(), c.expected);
    // What a save would write is a sound file again.
    EXPECT_NO_THROW(CheckDocument(document.lines()));
  }
}

// --- Writing an edited header --------------------------------------------

TEST(WriteStripHeader, WritesTheSixHeaderLinesInTheirOrder) {
  const Lines original = SimpleDocument(3);
  StripDocument document = SavedDocument(original);
  StripRow row;
  row.series = Sj("ＳＩＰ対応電話機");
  row.stripType = "type";
  row.extension = "2001";
  row.department = Sj("総務部");
  row.userName = Sj("佐藤 花子");
  row.registered = "2017/03/05 14:07";
  ASSERT_TRUE(WriteStripHeader(document, 2, row));

  Lines expected = original;
  const qsizetype s = original.indexOf(Sep(2));
  expected[s + 1] = "2001";
  expected[s + 2] = Sj("総務部");
  expected[s + 3] = Sj("佐藤 花子");
  expected[s + 4] = "2017/03/05 14:07";
  expected[s + 5] = Sj("ＳＩＰ対応電話機");
  expected[s + 6] = "type";
  EXPECT_EQ(document.lines(), expected);
  EXPECT_TRUE(document.IsChanged());

  // The list row written the same way agrees with the document again.
  QList<StripRow> rows = StripRowsOf(SavedDocument(original));
  row.number = 2;
  rows[1] = row;
  EXPECT_EQ(Violation(document, rows), "");
}

TEST(WriteStripHeader, SkipsAMissingOrCutShortHeader) {
  StripRow row;
  row.extension = "999";
  const Lines original = SimpleDocument(2);
  StripDocument document = SavedDocument(original);
  EXPECT_FALSE(WriteStripHeader(document, 3, row));
  EXPECT_FALSE(WriteStripHeader(document, 0, row));
  EXPECT_EQ(document.lines(), original);
  // Strip 1's separator read in the first line opens no strip: the header
  // written is that of strip 1 proper, the count line below stays.
  Lines early = original;
  early[0] = Sep(1);
  document = SavedDocument(early);
  EXPECT_TRUE(WriteStripHeader(document, 1, row));
  EXPECT_EQ(document.lines().mid(0, 3), early.mid(0, 3));
  EXPECT_EQ(document.at(3), "999");

  // The document ends five lines into strip 2's header.
  Lines cut = original.mid(0, original.indexOf(Sep(2)) + 6);
  document = SavedDocument(cut);
  EXPECT_FALSE(WriteStripHeader(document, 2, row));
  EXPECT_EQ(document.lines(), cut);
  // Six lines are enough.
  cut.append(original[cut.size()]);
  document = SavedDocument(cut);
  EXPECT_TRUE(WriteStripHeader(document, 2, row));
  EXPECT_EQ(document.at(cut.size() - 6), "999");
}

// --- The list check ------------------------------------------------------

TEST(StripListViolation, NamesTheFirstDisagreement) {
  const Lines lines = SimpleDocument(3);
  const StripDocument document = SavedDocument(lines);
  const QList<StripRow> rows = StripRowsOf(document);
  EXPECT_EQ(Violation(document, rows), "");
  EXPECT_EQ(Violation(StripDocument(), QList<StripRow>()), "");
  EXPECT_EQ(Violation(StripDocument(), rows),
            "the document is empty but the list has 3 rows");

  EXPECT_EQ(Violation(document, rows.mid(0, 2)), "line 1 counts 3 strips but the list has 2 rows");

  Lines badCount = lines;
  badCount[1] = "x";
  EXPECT_EQ(Violation(SavedDocument(badCount), rows), "line 1 is missing or not a strip count");
  EXPECT_EQ(Violation(SavedDocument({"file-version:01.01.00.00"}), rows),
            "line 1 is missing or not a strip count");

  Lines swapped = lines;
  const qsizetype second = lines.indexOf(Sep(2));
  const qsizetype third = lines.indexOf(Sep(3));
  swapped[second] = Sep(3);
  swapped[third] = Sep(2);
  EXPECT_EQ(Violation(SavedDocument(swapped), rows),
            QStringLiteral("line %1 is the separator line of strip 3 where strip 2's belongs").arg(second).toStdString());

  Lines extra = lines;
  extra.append(Sep(4));
  EXPECT_EQ(Violation(SavedDocument(extra), rows), "line 1 counts 3 strips but there are 4 separator lines");

  Lines early = lines;
  early[0] = Sep(1);
  EXPECT_EQ(Violation(SavedDocument(early), rows), "line 0 is a separator line, not a header line");

  QList<StripRow> edited = rows;
  edited[2].userName = Sj("鈴木");
  EXPECT_EQ(Violation(document, edited),
            std::string("row 2, user name: the list reads \"鈴木\", strip 3's header \"山田\""));
}

TEST(StripListViolation, ChecksTheListTextsAsShown) {
  const StripDocument document = SavedDocument(SimpleDocument(2));
  QList<QStringList> texts;
  for (const StripRow& row : StripRowsOf(document)) texts.append(row.Columns());
  EXPECT_EQ(Violation(document, texts), "");
  EXPECT_EQ(texts[0][0], QStringLiteral("Ｍｏシリーズ主装置"));

  QList<QStringList> changed = texts;
  changed[1][5] = QStringLiteral("2024/01/01 00:00");
  EXPECT_EQ(Violation(document, changed),
            "row 1, registration date: the list reads \"2024/01/01 00:00\", strip 2's header \"2017/03/05 14:07\"");
  changed = texts;
  changed[0].removeLast();
  EXPECT_EQ(Violation(document, changed),
            "row 0, registration date: the list reads \"\", strip 1's header \"2017/03/05 14:07\"");
  changed = texts;
  changed[1].append(QStringLiteral("extra"));
  EXPECT_EQ(Violation(document, changed), "row 1 has 7 columns");
}
