// The strip document: separator lines, the separator index under edits,
// damaged documents and the walk over groups and keys.
#include <QRandomGenerator>
#include <climits>
#include <gtest/gtest.h>
#include <vector>

#include "DocumentBuilder.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"

namespace {

bool LooksLikeSeparator(const QByteArray& line) { return StripNumberOfSeparator(line) > 0; }

// Where the strip starting at `start` ends, walked by nothing but its
// counts within the limits of 100 groups and 100 keys; -1 when the counts
// do not lead to an end inside the list.
qsizetype PlainWalk(const Lines& lines, qsizetype start) {
  auto count = [&](qsizetype i) {
    bool ok = false;
    const int v = i < lines.size() ? lines[i].toInt(&ok) : -1;
    return ok && v >= 0 ? v : -1;
  };
  const int groups = count(start + 6);
  if (groups < 0 || groups > 100) return -1;
  qsizetype line = start + 7;
  int keys = 0;
  for (int g = 0; g < groups; ++g) {
    const int groupKeys = count(line + 5);
    if (groupKeys < 0 || (keys += groupKeys) > 100) return -1;
    line += 6;
    for (int k = 0; k < groupKeys; ++k) {
      if (count(line + 32) < 0) return -1;
      line += 33 + count(line + 32);
    }
  }
  return line <= lines.size() ? line : -1;
}

// What FindStrip must answer, found the plain way: from the first
// separator-looking line below line 1, each strip that walks to a
// separator-looking line (or the end) ends there; any other ends at the
// next separator-looking line. The first strip with the number counts.
qsizetype ScanForStrip(const Lines& lines, int n) {
  qsizetype at = 2;
  while (at < lines.size() && !LooksLikeSeparator(lines[at])) ++at;
  while (at < lines.size()) {
    if (StripNumberOfSeparator(lines[at]) == n) return at;
    const qsizetype end = PlainWalk(lines, at + 1);
    if (end >= 0 && (end == lines.size() || LooksLikeSeparator(lines[end]))) {
      at = end;
      continue;
    }
    do ++at; while (at < lines.size() && !LooksLikeSeparator(lines[at]));
  }
  return -1;
}

StripDocument DocumentOf(const Lines& lines) {
  StripDocument document;
  document.SetLines(lines);
  return document;
}

}  // namespace

TEST(SeparatorLine, BytesOfStripsSevenAndTen) {
  EXPECT_EQ(SeparatorLine(7), QByteArray::fromHex("37FFFFFFFFFFFFFFFFFFFF"));
  const QByteArray ten = SeparatorLine(10);
  EXPECT_EQ(ten.size(), 12);
  EXPECT_TRUE(ten.startsWith("10"));
  EXPECT_EQ(ten.mid(2), QByteArray(10, '\xFF'));
}

TEST(SeparatorLine, OnlyTheExactFormReadsAsAStripNumber) {
  const QByteArray ff(10, '\xFF');
  EXPECT_EQ(StripNumberOfSeparator(SeparatorLine(1)), 1);
  EXPECT_EQ(StripNumberOfSeparator(SeparatorLine(1234)), 1234);
  EXPECT_EQ(StripNumberOfSeparator(SeparatorLine(2147483647)), 2147483647);
  EXPECT_EQ(StripNumberOfSeparator("07" + ff), 0);
  EXPECT_EQ(StripNumberOfSeparator("0" + ff), 0);
  EXPECT_EQ(StripNumberOfSeparator(ff), 0);
  EXPECT_EQ(StripNumberOfSeparator("7" + QByteArray(9, '\xFF')), 0);
  EXPECT_EQ(StripNumberOfSeparator("7" + QByteArray(11, '\xFF')), 0);  // reads as "7\xFF"
  EXPECT_EQ(StripNumberOfSeparator("1a" + ff), 0);
  EXPECT_EQ(StripNumberOfSeparator("-1" + ff), 0);
  EXPECT_EQ(StripNumberOfSeparator("9999999999" + ff), 0);  // beyond int
  EXPECT_EQ(StripNumberOfSeparator(""), 0);
}

TEST(StripDocumentLayout, OneStripOfOneEmptyKeyHas49Lines) {
  const Lines lines = Document({StripBlock(1, {Group({KeyBlock("1")})})});
  ASSERT_EQ(lines.size(), 2 + 1 + 7 + 6 + 33);
  StripDocument document = DocumentOf(lines);
  EXPECT_EQ(document.StripCount(), 1);
  EXPECT_EQ(document.FindStrip(1), 2);
  EXPECT_EQ(document.EndOfStrip(1), 49);
  EXPECT_EQ(KeyBlockLine(lines, 3, 0), 16);
  EXPECT_THROW(KeyBlockLine(lines, 3, 1), DocumentError);
}

TEST(StripDocumentLayout, KeyBlockLineWalksTextsAndGroups) {
  // Group 0: keys with 3, 0 and 1 text lines; group 1: keys with 2 and 0.
  const Lines lines = Document({StripBlock(1, {
      Group({KeyBlock("1", {"a", "b", "c"}), KeyBlock("2"), KeyBlock("3", {"x"})}),
      Group({KeyBlock("4", {"p", "q"}), KeyBlock("-5")}),
  })});
  const qsizetype start = 3;
  const qsizetype firstKey = start + 7 + 6;
  EXPECT_EQ(KeyBlockLine(lines, start, 0), firstKey);
  EXPECT_EQ(KeyBlockLine(lines, start, 1), firstKey + 36);  // three text lines: 36 lines
  EXPECT_EQ(KeyBlockLine(lines, start, 2), firstKey + 36 + 33);
  const qsizetype secondGroup = firstKey + 36 + 33 + 34;
  EXPECT_EQ(KeyBlockLine(lines, start, 3), secondGroup + 6);
  EXPECT_EQ(KeyBlockLine(lines, start, 4), secondGroup + 6 + 35);
  EXPECT_EQ(lines[KeyBlockLine(lines, start, 4) + layout::kKeyNumber], "-5");
  EXPECT_EQ(KeyBlockLength(lines, firstKey), 36);
  EXPECT_EQ(GroupLength(lines, start + 7), 6 + 36 + 33 + 34);
  EXPECT_EQ(GroupFirstKey(lines, start, 0), 0);
  EXPECT_EQ(GroupFirstKey(lines, start, 1), 3);
  EXPECT_EQ(GroupFirstKey(lines, start, 2), 0);  // past the last group
  EXPECT_THROW(KeyBlockLine(lines, start, 5), DocumentError);
  EXPECT_THROW(KeyBlockLine(lines, start, -1), DocumentError);
}

TEST(StripDocumentLayout, DamagedCountsStopTheWalkAtTheirLine) {
  Lines lines = Document({StripBlock(1, {Group({KeyBlock("1", {"a"}), KeyBlock("2")})})});
  const qsizetype firstKey = 3 + 7 + 6;
  lines[firstKey + layout::kTextCount] = "one";
  try {
    KeyBlockLine(lines, 3, 1);
    FAIL() << "no error";
  } catch (const DocumentError& e) {
    EXPECT_EQ(e.Line(), firstKey + layout::kTextCount);
  }
  // A text count running past the end of the document.
  lines[firstKey + layout::kTextCount] = "999999";
  EXPECT_THROW(KeyBlockLine(lines, 3, 1), DocumentError);
  // A group count far beyond the lines present.
  lines = Document({StripBlock(1, {Group({KeyBlock("1")})})});
  lines[3 + layout::kGroupCount] = "2000000000";
  EXPECT_THROW(KeyBlockLine(lines, 3, 5), DocumentError);
  EXPECT_THROW(GroupFirstKey(lines, 3, 7), DocumentError);
}

TEST(StripDocument, StripCountIsCheckedLineOne) {
  StripDocument document;
  EXPECT_EQ(document.StripCount(), 0);
  document.SetLines({"file-version:01.01.00.00"});
  EXPECT_THROW(document.StripCount(), DocumentError);
  document.SetLines({"file-version:01.01.00.00", "x"});
  try {
    document.StripCount();
    FAIL() << "no error";
  } catch (const DocumentError& e) {
    EXPECT_EQ(e.Line(), 1);
  }
}

TEST(StripDocument, IndexFollowsInsertsAndRemoves) {
  StripDocument document = DocumentOf(SimpleDocument(3));
  const qsizetype strip2 = document.FindStrip(2);
  const qsizetype strip3 = document.FindStrip(3);
  // Lines added inside strip 1 move the later strips.
  document.Insert(5, Lines{"a", "b"});
  EXPECT_EQ(document.FindStrip(1), 2);
  EXPECT_EQ(document.FindStrip(2), strip2 + 2);
  EXPECT_EQ(document.FindStrip(3), strip3 + 2);
  document.Remove(5, 2);
  EXPECT_EQ(document.FindStrip(2), strip2);
  // Removing strip 2's block and renumbering strip 3, as deleting a strip does.
  document.Remove(strip2, strip3 - strip2);
  EXPECT_EQ(document.FindStrip(3), strip2);
  EXPECT_EQ(document.FindStrip(2), -1);
  document.Replace(strip2, SeparatorLine(2));
  EXPECT_EQ(document.FindStrip(2), strip2);
  EXPECT_EQ(document.FindStrip(3), -1);
  EXPECT_EQ(document.HighestStripNumber(), 2);
  // A strip appended at the end.
  const qsizetype end = document.size();
  document.Append(Lines{SeparatorLine(3), "x"});
  EXPECT_EQ(document.FindStrip(3), end);
  EXPECT_EQ(document.EndOfStrip(2), end);
  EXPECT_EQ(document.EndOfStrip(3), document.size());
  // A separator line overwritten by text leaves the index.
  document.Replace(end, "not a separator");
  EXPECT_EQ(document.FindStrip(3), -1);
}

TEST(StripDocument, InsertingAPartOfItselfCopiesTheLines) {
  StripDocument document = DocumentOf(SimpleDocument(2));
  const Lines before = document.lines();
  document.Insert(2, document.lines());
  ASSERT_EQ(document.size(), 2 * before.size());
  EXPECT_EQ(document.lines().mid(2, before.size()), before);
  EXPECT_EQ(document.FindStrip(1), 4);  // the inserted copy's "1" separator is at 2 + 2
}

TEST(StripDocument, DamagedSeparatorsFindTheFirstMatch) {
  Lines lines = SimpleDocument(4);
  StripDocument sound = DocumentOf(lines);
  const qsizetype s2 = sound.FindStrip(2), s3 = sound.FindStrip(3), s4 = sound.FindStrip(4);

  // Strip 3's separator reads 2: strip 2 is found at its first place.
  Lines duplicated = lines;
  duplicated[s3] = SeparatorLine(2);
  StripDocument d = DocumentOf(duplicated);
  EXPECT_EQ(d.FindStrip(2), s2);
  EXPECT_EQ(d.FindStrip(3), -1);
  EXPECT_EQ(d.FindStrip(4), s4);
  EXPECT_EQ(d.EndOfStrip(2), d.size());  // no strip 3: to the end
  // Separators in the wrong order: 1, 3, 2, 4.
  Lines swapped = lines;
  swapped[s2] = SeparatorLine(3);
  swapped[s3] = SeparatorLine(2);
  d = DocumentOf(swapped);
  EXPECT_EQ(d.FindStrip(2), s3);
  EXPECT_EQ(d.FindStrip(3), s2);
  EXPECT_EQ(d.EndOfStrip(2), s2);  // the separator of strip 3, wherever it is
  // A separator of strip 2 standing at line 0 opens no strip: lines 0 and 1
  // are the file's own.
  Lines atTop = lines;
  atTop[0] = SeparatorLine(2);
  d = DocumentOf(atTop);
  EXPECT_EQ(d.FindStrip(2), s2);
  EXPECT_EQ(d.EndOfStrip(1), s2);
  // Missing separator: strip 4 is still found.
  Lines missing = lines;
  missing[s3] = "3";
  d = DocumentOf(missing);
  EXPECT_EQ(d.FindStrip(3), -1);
  EXPECT_EQ(d.FindStrip(4), s4);
  EXPECT_EQ(d.HighestStripNumber(), 4);
  EXPECT_EQ(d.FindStrip(0), -1);
  EXPECT_EQ(d.FindStrip(-3), -1);
  EXPECT_EQ(d.FindStrip(5), -1);
}

TEST(StripDocument, IndexAgreesWithAScanAfterRandomEdits) {
  QRandomGenerator random(20240601);
  StripDocument document = DocumentOf(SimpleDocument(6, 1));
  for (int step = 0; step < 3000; ++step) {
    const qsizetype size = document.size();
    const qsizetype at = random.bounded(static_cast<int>(size) + 1);
    const QByteArray line = random.bounded(3) == 0 ? SeparatorLine(1 + random.bounded(8))
                                                   : QByteArray::number(random.bounded(100));
    switch (random.bounded(4)) {
      case 0: document.Insert(at, line); break;
      case 1: document.Insert(at, Lines{line, SeparatorLine(1 + random.bounded(8))}); break;
      case 2: document.Remove(at, 1 + random.bounded(3)); break;
      default: if (at < size) document.Replace(at, line); break;
    }
    for (int n = 0; n <= 9; ++n) {
      ASSERT_EQ(document.FindStrip(n), n > 0 ? ScanForStrip(document.lines(), n) : -1)
          << "step " << step << " strip " << n;
    }
  }
}

TEST(StripDocument, ChangedMeansDifferentFromTheSavedCopy) {
  StripDocument document = DocumentOf(SimpleDocument(1));
  EXPECT_TRUE(document.IsChanged());  // never saved
  document.MarkSaved();
  EXPECT_FALSE(document.IsChanged());
  const QByteArray old = document.at(3);
  document.Replace(3, "999");
  EXPECT_TRUE(document.IsChanged());
  document.Replace(3, old);  // typed back by hand
  EXPECT_FALSE(document.IsChanged());
  document.Append("");
  EXPECT_TRUE(document.IsChanged());
  document.Remove(document.size() - 1);
  EXPECT_FALSE(document.IsChanged());
  document.Clear();
  EXPECT_TRUE(document.IsChanged());
  document.ClearSavedCopy();
  EXPECT_FALSE(document.IsChanged());
}

TEST(StripDocument, OutOfRangeEditsAreSafe) {
  StripDocument document = DocumentOf(SimpleDocument(1));
  const Lines before = document.lines();
  EXPECT_THROW(document.Replace(-1, "x"), DocumentError);
  EXPECT_THROW(document.Replace(before.size(), "x"), DocumentError);
  EXPECT_THROW(document.at(before.size()), DocumentError);
  document.Remove(before.size(), 3);
  document.Remove(-2, 1);
  document.Remove(0, 0);
  EXPECT_EQ(document.lines(), before);
  document.Remove(before.size() - 2, 100);  // clipped to the end
  EXPECT_EQ(document.size(), before.size() - 2);
}

TEST(StripDocument, LinesThatOnlyLookLikeSeparatorsOpenNoStrip) {
  // Strip 1 holds key texts reading as the separators of strips 2 and 3,
  // strip 2 an extension number reading as strip 9's.
  Lines lines = Document({StripBlock(1, {Group({KeyBlock("1", {SeparatorLine(2), SeparatorLine(3)})})}),
                          StripBlock(2, {Group({KeyBlock("1")})}, SeparatorLine(9)),
                          StripBlock(3, {Group({KeyBlock("1", {"x"})})})});
  const qsizetype key = 2 + 8 + 6;  // strip 1's only key block
  const qsizetype s2 = key + 35, s3 = s2 + 8 + 6 + 33;
  ASSERT_EQ(lines[s2], SeparatorLine(2));
  ASSERT_EQ(lines[s3], SeparatorLine(3));
  StripDocument document = DocumentOf(lines);
  std::vector<qsizetype> found;
  for (const StripDocument::Separator& s : document.StripSeparators()) found.push_back(s.line);
  EXPECT_EQ(found, (std::vector<qsizetype>{2, s2, s3}));
  EXPECT_EQ(document.FindStrip(2), s2);
  EXPECT_EQ(document.FindStrip(9), -1);
  EXPECT_EQ(document.EndOfStrip(1), s2);
  EXPECT_EQ(document.HighestStripNumber(), 3);

  // Edits move the boundaries with them: a text line added to strip 1.
  document.Insert(key + layout::kFirstText, Lines{SeparatorLine(3)});
  document.Replace(key + layout::kTextCount, "3");
  EXPECT_EQ(document.FindStrip(2), s2 + 1);
  EXPECT_EQ(document.FindStrip(3), s3 + 1);

  // Key texts replaced as texts: one that looked like a separator and no
  // longer does, one that now does; the walk is unchanged by both.
  document.ReplaceTextLine(key + layout::kFirstText, "plain");
  document.ReplaceTextLine(key + layout::kFirstText + 1, SeparatorLine(7));
  EXPECT_EQ(document.FindStrip(2), s2 + 1);
  EXPECT_EQ(document.FindStrip(7), -1);
  EXPECT_EQ(document.at(key + layout::kFirstText), "plain");

  // A strip whose counts do not walk to a separator line: the next line
  // that looks like one is taken, as nothing better is known.
  lines[key + layout::kTextCount] = "two";
  document.SetLines(lines);
  EXPECT_EQ(document.FindStrip(2), key + layout::kFirstText);
}

TEST(StripDocument, SeparatorsInAnyOrderAreFoundAtOnce) {
  // Strips 1 ... 500 with their separators in reverse order.
  Lines lines = SimpleDocument(500, 0);
  QList<qsizetype> at;
  for (qsizetype i = 2; i < lines.size(); ++i) {
    if (LooksLikeSeparator(lines[i])) at.append(i);
  }
  for (qsizetype i = 0; i < at.size(); ++i) lines[at[i]] = SeparatorLine(static_cast<int>(at.size() - i));
  StripDocument document = DocumentOf(lines);
  for (int n = 1; n <= 500; ++n) ASSERT_EQ(document.FindStrip(n), at[500 - n]) << n;
  EXPECT_EQ(document.HighestStripNumber(), 500);
  EXPECT_EQ(document.EndOfStrip(1), at[498]);  // the separator of strip 2, before strip 1's
  EXPECT_EQ(document.EndOfStrip(500), lines.size());
  EXPECT_EQ(document.EndOfStrip(INT_MAX), lines.size());
}
