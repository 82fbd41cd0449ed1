// A telephone's strip type written by `vrdtool template grid`, a strip made
// from it and planned on the card: every key lands where the description puts it.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "document/StripLayout.h"
#include "print/CardPrint.h"
#include "support/RunVrdtool.h"
#include "support/TestFiles.h"

namespace {

Decimal4 Mm(double value) { return Decimal4::FromDouble(value); }

void ExpectNear(Decimal4 actual, Decimal4 expected, const std::string& what) {
  const Decimal4 off = actual > expected ? actual - expected : expected - actual;
  EXPECT_LE(off, Mm(0.1)) << what << ": " << actual.ToText().constData() << " instead of "
                          << expected.ToText().constData();
}

}  // namespace

TEST(TemplatePrint, TheExampleTelephoneLandsWhereItsDescriptionPutsIt) {
  // 2 columns of 12 keys, outlines 38 x 9 mm, numbers left, 保留 and 転送 below.
  QTemporaryDir dir;
  const QString tpl = dir.filePath(QStringLiteral("例の電話機.TPL"));
  const VrdtoolRun grid = RunVrdtool({"template", "grid", tpl, "--series", "2", "--group", "12x2", "--key", "38x9",
                                      "--labels", "left", "--fixed", "保留,転送"});
  ASSERT_EQ(grid.exitCode, 0) << grid.Out().toStdString() << grid.Err().toStdString();

  // A site of one strip of that type, made the way the program makes it.
  const QString site = dir.filePath("site.VRD");
  WriteBytes(dir.filePath("list.csv"), Sj("内線番号,主装置のシリーズ,示名条のタイプ\r\n201,Ｔｅシリーズ主装置,例の電話機\r\n"));
  ASSERT_EQ(RunVrdtool({"import-csv", site, dir.filePath("list.csv"), "--dir", dir.path()}).exitCode, 0);

  Lines lines;
  ASSERT_TRUE(ReadLinesFile(site, &lines));
  const qsizetype start = 3;
  const std::vector<qsizetype> blocks = KeyBlockLines(lines, start);
  ASSERT_EQ(blocks.size(), 26u);
  // On the card (1 pixel a millimetre, from the paper's corner, no adjustment).
  const CardCanvas canvas{Decimal4(), Decimal4(), Mm(1), Mm(1)};
  const std::vector<CardKey> card = PlanStripCard(lines, start, canvas, PrintAdjustment{});
  ASSERT_EQ(card.size(), blocks.size());

  const qsizetype firstGroup = start + layout::kFirstGroup;
  const qsizetype secondGroup = firstGroup + GroupLength(lines, firstGroup);
  for (size_t k = 0; k < blocks.size(); ++k) {
    const bool fixed = k >= 24;
    const qsizetype group = fixed ? secondGroup : firstGroup;
    const Decimal4 gx = ReadDecimal(lines, group + layout::kGroupX);
    const Decimal4 gy = ReadDecimal(lines, group + layout::kGroupY);
    // The description: the first group at 10, 10 with a 1.5 mm margin, a
    // pitch of the size plus 1 mm, numbered down each column; the fixed
    // keys 5 mm below it, side by side.
    const int column = fixed ? static_cast<int>(k - 24) : static_cast<int>(k / 12);
    const int row = fixed ? 0 : static_cast<int>(k % 12);
    const double top = fixed ? 10 + 1.5 + 11 * 10 + 9 + 1.5 + 5 + 1.5 : 10 + 1.5 + row * 10;
    const double left = 10 + 1.5 + column * 39;
    const std::string what = "key " + std::to_string(k);
    ExpectNear(gx + ReadDecimal(lines, blocks[k] + layout::kKeyX), Mm(left), what + " left");
    ExpectNear(gy + ReadDecimal(lines, blocks[k] + layout::kKeyY), Mm(top), what + " top");
    ExpectNear(ReadDecimal(lines, blocks[k] + layout::kKeyWidth), Mm(38), what + " width");
    ExpectNear(ReadDecimal(lines, blocks[k] + layout::kKeyHeight), Mm(9), what + " height");
    // The text area prints 1 mm inside the outline, after the number label.
    ExpectNear(card[k].text.left, Mm(left + 1 + 4.5), what + " text left on the paper");
    ExpectNear(card[k].text.top, Mm(top + 1), what + " text top on the paper");
    ExpectNear(card[k].text.bottom, Mm(top + 9 - 1), what + " text bottom on the paper");
  }
  EXPECT_EQ(lines[blocks[24] + layout::kFirstText], Sj("保留"));
  EXPECT_EQ(lines[blocks[25] + layout::kFirstText], Sj("転送"));
  EXPECT_EQ(lines[blocks[0] + layout::kKeyNumber], "001");
  EXPECT_EQ(lines[blocks[23] + layout::kKeyNumber], "024");
}
