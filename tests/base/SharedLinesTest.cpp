// Lines sharing one buffer: the same lines as SplitLines, each an ordinary
// QByteArray that outlives the list, copies itself before a change, and is
// followed by a byte 00.
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "base/SharedLines.h"

TEST(SharedLines, SplitAsSplitLinesDoes) {
  const QList<QByteArray> inputs = {"",        "a",          "a\r\nb\r\n", "a\rb\nc\r\n\r\nd", "\n\n",
                                    "x\r",     "x\r\n\n",    "ab\0cd\r\n",  QByteArray("ab\0cd", 5),
                                    "\r\n",    "\xFF\xFF\r\nz"};
  for (const QByteArray& input : inputs) EXPECT_EQ(SplitLinesSharing(input), SplitLines(input)) << input.toHex().constData();
  QRandomGenerator random(61);
  const char alphabet[] = {'a', '\r', '\n', '\0', '\xFF', '1'};
  for (int round = 0; round < 500; ++round) {
    QByteArray input;
    for (int i = random.bounded(40); i > 0; --i) input.append(alphabet[random.bounded(6)]);
    ASSERT_EQ(SplitLinesSharing(input), SplitLines(input)) << input.toHex().constData();
  }
}

TEST(SharedLines, EveryLineEndsInAZeroByteAndTheCallersBytesStay) {
  const QByteArray bytes = "first\r\nsecond\rthird\nlast";
  const Lines lines = SplitLinesSharing(bytes);
  ASSERT_EQ(lines.size(), 4);
  for (const QByteArray& line : lines) EXPECT_EQ(line.constData()[line.size()], '\0') << line.constData();
  EXPECT_EQ(bytes, "first\r\nsecond\rthird\nlast");
}

TEST(SharedLines, LinesOutliveTheListAndCopyThemselvesBeforeAChange) {
  QByteArray kept;
  Lines lines = SplitLinesSharing(QByteArray("alpha\r\nbeta\r\ngamma\r\n"));
  kept = lines[1];
  Lines copy = lines;
  lines[0].append("-changed");
  lines[2][0] = 'G';
  EXPECT_EQ(lines, (Lines{"alpha-changed", "beta", "Gamma"}));
  EXPECT_EQ(copy, (Lines{"alpha", "beta", "gamma"}));
  lines.clear();
  copy.clear();
  // The last line of the buffer, now its only user, may grow in place.
  EXPECT_EQ(kept, "beta");
  kept.append(QByteArray(100, 'x'));
  EXPECT_EQ(kept, "beta" + QByteArray(100, 'x'));
  EXPECT_EQ(kept.constData()[kept.size()], '\0');
}
