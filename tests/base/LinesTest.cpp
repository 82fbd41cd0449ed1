// Lines: split and joined byte for byte, shared until changed, lines that
// outlive their list, and every change checked against a plain QList.
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "base/LineIO.h"
#include "base/SharedLines.h"

namespace {

QList<QByteArray> Contents(const Lines& lines) {
  QList<QByteArray> list;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines.view(i), lines.at(i));
    list.append(lines.at(i));
  }
  return list;
}

}  // namespace

TEST(Lines, SplitAndJoinedByteForByte) {
  const struct {
    QByteArray file;
    QList<QByteArray> lines;
    QByteArray written;
  } cases[] = {
      {"", {}, ""},
      {"a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
      {"a\rb", {"a", "b"}, "a\r\nb\r\n"},
      {"a\nb\n", {"a", "b"}, "a\r\nb\r\n"},
      {"a\r\rb\n\n", {"a", "", "b", ""}, "a\r\n\r\nb\r\n\r\n"},
      {"\r\n\r\n", {"", ""}, "\r\n\r\n"},
      {"\n\r", {"", ""}, "\r\n\r\n"},
      {"end\r", {"end"}, "end\r\n"},
      {QByteArray("ab\0cd\r\n", 7), {"ab"}, "ab\r\n"},
      {QByteArray("x\r\n\0y", 5), {"x"}, "x\r\n"},
      {QByteArray("\0x", 2), {}, ""},
      {"\xFF\x81\x40\r\n\x82\xA0", {"\xFF\x81\x40", "\x82\xA0"}, "\xFF\x81\x40\r\n\x82\xA0\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file.toHex().constData());
    const Lines lines = SplitLinesSharing(c.file);
    EXPECT_EQ(Contents(lines), c.lines);
    EXPECT_EQ(lines, Lines(c.lines));
    EXPECT_EQ(JoinLines(lines), c.written);
    EXPECT_EQ(SplitLinesSharing(JoinLines(lines)), lines);
    EXPECT_EQ(lines.heldApartCount(), 0);
  }
}

TEST(Lines, LinesTooLongForAnEntryAreHeldApartAndReadTheSame) {
  // An entry holds a length below 2^23.
  const qsizetype longest = (qsizetype(1) << 23) - 1;
  QList<QByteArray> expected = {"head"};
  for (qsizetype length : {longest, longest + 1, longest + 2}) expected << QByteArray(length, 'x') << "";
  expected << "tail";
  QByteArray file;
  for (const QByteArray& line : expected) file += line + "\n";
  const Lines lines = SplitLinesSharing(file);
  EXPECT_EQ(lines.heldApartCount(), 2);
  EXPECT_EQ(Contents(lines), expected);
  EXPECT_EQ(JoinLines(lines), JoinLines(Lines(expected)));
}

TEST(Lines, ACopyStaysAsItWasWhicheverSideChanges) {
  const QList<QByteArray> original = {"zero", "one", "", "three"};
  const std::function<void(Lines&)> changes[] = {
      [](Lines& l) { l.replace(0, "changed"); },
      [](Lines& l) { l[1] = "changed"; },
      [](Lines& l) { l[3].append("-more"); },
      [](Lines& l) { l.insert(2, "new"); },
      [](Lines& l) { l.insert(0, l); },
      [](Lines& l) { l.append("new"); },
      [](Lines& l) { l.remove(1, 2); },
      [](Lines& l) { l.resize(2); },
      [](Lines& l) { l.resize(6); },
      [](Lines& l) { l.clear(); },
  };
  for (size_t c = 0; c < std::size(changes); ++c) {
    SCOPED_TRACE(c);
    for (bool changeTheCopy : {false, true}) {
      Lines first = SplitLinesSharing("zero\r\none\r\n\r\nthree\r\n");
      Lines second = first;
      changes[c](changeTheCopy ? second : first);
      EXPECT_EQ(Contents(changeTheCopy ? first : second), original);
      EXPECT_NE(first, second);
    }
  }
}

TEST(Lines, ALineOutlivesItsListAndCopiesItselfBeforeAChange) {
  QByteArray kept;
  QByteArray keptApart;
  {
    Lines lines = SplitLinesSharing("alpha\r\nbeta\r\n");
    lines.append("gamma");
    kept = lines.at(0);
    keptApart = *(lines.begin() + 2);
    QByteArray copy = lines.at(1);
    copy[0] = 'B';
    EXPECT_EQ(lines.at(1), "beta");
    EXPECT_EQ(copy, "Beta");
  }
  EXPECT_EQ(kept, "alpha");
  EXPECT_EQ(keptApart, "gamma");
  kept.append("-grown");
  EXPECT_EQ(kept, "alpha-grown");
  EXPECT_EQ(kept.constData()[kept.size()], '\0');
}

TEST(Lines, EqualByContentHoweverHeld) {
  const Lines split = SplitLinesSharing("a\r\n\r\nc\r\n");
  Lines edited = split;
  edited.replace(0, "a");  // held apart, same bytes
  const Lines other = SplitLinesSharing("a\nx\nc\n");
  const struct {
    Lines a, b;
    bool equal;
  } cases[] = {
      {split, split, true},           {split, edited, true},         {split, Lines{"a", "", "c"}, true},
      {split, other, false},          {split, split.mid(0, 2), false}, {Lines(), Lines{}, true},
      {Lines{""}, Lines(), false},    {Lines{""}, Lines(1), true},   {split.mid(1), Lines{"", "c"}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.a == c.b, c.equal) << JoinLines(c.a).toStdString() << "|" << JoinLines(c.b).toStdString();
    EXPECT_EQ(c.b == c.a, c.equal);
  }
}

TEST(Lines, LinesOfTheBufferCopiedWithinItStayEntries) {
  Lines lines = SplitLinesSharing("one\r\ntwo\r\nthree\r\n");
  lines.insert(0, lines.mid(1, 2));
  lines.append(lines.at(0));
  lines.replace(1, lines.at(2));
  Lines built;
  built.append(lines, 1, 2);
  EXPECT_EQ(Contents(lines), (QList<QByteArray>{"two", "one", "one", "two", "three", "two"}));
  EXPECT_EQ(Contents(built), (QList<QByteArray>{"one", "one"}));
  EXPECT_EQ(lines.heldApartCount(), 0);
  EXPECT_EQ(built.heldApartCount(), 0);
  // A line read out of a list and changed is its own again.
  QByteArray changed = lines.at(0);
  changed.chop(1);
  lines.append(changed);
  EXPECT_EQ(lines.last(), "tw");
  EXPECT_EQ(lines.heldApartCount(), 1);
}

TEST(Lines, ChangesAtStartMiddleAndEndAsAQListWouldMakeThem) {
  QRandomGenerator random(83);
  for (int round = 0; round < 40; ++round) {
    QByteArray file;
    for (int i = random.bounded(12); i > 0; --i) file += QByteArray(random.bounded(4), char('a' + i)) + "\r\n";
    Lines lines = SplitLinesSharing(file);
    QList<QByteArray> model = SplitLines(file).toList();
    for (int step = 0; step < 30; ++step) {
      const qsizetype n = model.size();
      // The start, the middle or the end.
      const qsizetype at = std::array<qsizetype, 3>{0, n / 2, n}[random.bounded(3)];
      const QByteArray line = random.bounded(3) == 0 ? QByteArray() : "L" + QByteArray::number(step);
      switch (random.bounded(6)) {
        case 0: lines.insert(at, line); model.insert(at, line); break;
        case 1: lines.insert(at, lines.mid(n / 2)); model = model.mid(0, at) + model.mid(n / 2) + model.mid(at); break;
        case 2: if (at < n) { lines.remove(at, std::min<qsizetype>(2, n - at)); model.remove(at, std::min<qsizetype>(2, n - at)); } break;
        case 3: if (at < n) { lines.replace(at, line); model.replace(at, line); } break;
        case 4: if (at < n) { lines[at] = lines.at(n - 1 - at); model[at] = model.at(n - 1 - at); } break;
        case 5: lines.append(line); model.append(line); break;
      }
      ASSERT_EQ(Contents(lines), model) << "round " << round << " step " << step;
    }
    EXPECT_EQ(JoinLines(lines), JoinLines(Lines(model)));
  }
}

TEST(Lines, ManyLinesHeldApartSurviveCopiesAndChanges) {
  QList<QByteArray> model;
  Lines lines;
  for (int i = 0; i < 1000; ++i) {
    model.append(QByteArray::number(i));
    lines.append(model.last());
  }
  const QList<QByteArray> original = model;
  const Lines copy = lines;
  for (int i = 0; i < 1000; i += 7) {
    lines[i] = lines.at(999 - i);
    model[i] = model.at(999 - i);
  }
  lines.remove(100, 300);
  model.remove(100, 300);
  lines.append("after");
  model.append("after");
  EXPECT_EQ(Contents(lines), model);
  EXPECT_EQ(Contents(copy), original);
}

TEST(Lines, LargeListsChangedAcrossBlocksAsAQListWouldBe) {
  QRandomGenerator random(2024);
  const auto file = [&](int lines, char tag) {
    QByteArray bytes;
    for (int i = 0; i < lines; ++i) bytes += tag + QByteArray::number(i) + "\r\n";
    return bytes;
  };
  const Lines other = SplitLinesSharing(file(5000, 'o'));
  for (int round = 0; round < 6; ++round) {
    Lines lines = SplitLinesSharing(file(random.bounded(6000), 'a'));
    QList<QByteArray> model = lines.toList();
    for (int step = 0; step < 60; ++step) {
      const qsizetype n = model.size();
      const qsizetype at = random.bounded(n + 1);
      const qsizetype count = random.bounded(3000);
      const Lines before = lines;
      const QList<QByteArray> modelBefore = model;
      switch (random.bounded(6)) {
        case 0: {  // a part of itself, or of another file
          const bool own = n > 0 && random.bounded(2) == 0;
          const Lines& from = own ? lines : other;
          const qsizetype pos = random.bounded(from.size());
          const qsizetype length = std::min(count, from.size() - pos);
          const QList<QByteArray> part = from.toList().mid(pos, length);
          lines.insert(at, from.mid(pos, length));
          model = model.mid(0, at) + part + model.mid(at);
          break;
        }
        case 1: {
          const qsizetype length = std::min(count, n - at);
          lines.remove(at, length);
          model.remove(at, length);
          break;
        }
        case 2: if (at < n) { lines.replace(at, "r" + QByteArray::number(step)); model.replace(at, "r" + QByteArray::number(step)); } break;
        case 3: if (at < n) { lines[at] = lines.at(n - 1 - at); model[at] = model.at(n - 1 - at); } break;
        case 4: lines.insert(at, "i" + QByteArray::number(step)); model.insert(at, "i" + QByteArray::number(step)); break;
        case 5: lines = lines.mid(at / 2, count * 2); model = model.mid(at / 2, count * 2); break;
      }
      ASSERT_EQ(Contents(lines), model) << "round " << round << " step " << step;
      ASSERT_EQ(Contents(before), modelBefore);  // a copy stays as it was
      EXPECT_EQ(lines == before, model == modelBefore);
      EXPECT_EQ(lines, Lines(model));
    }
  }
}
