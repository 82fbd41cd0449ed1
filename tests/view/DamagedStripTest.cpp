// Laying out and drawing strips whose lines are damaged at random: every
// outcome is a plan or a DocumentError, never a crash or a read out of bounds.
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "document/DataFile.h"
#include "document/StripDocument.h"
#include "view/KeyTextLoad.h"
#include "view/StripGeometry.h"
#include "view/StripRenderer.h"

namespace {

const QByteArray kDamage[] = {"", "-1", "0", "x", "99999", "-99999", "2147483647", "1e9",
                              "1.00005", "-0.5", " ", "3,4", "\xFF\xFF", "100", "101"};

}  // namespace

TEST(DamagedStrip, RandomDamageGivesAPlanOrAnErrorNeverACrash) {
  DataFileContent sample = ReadDataFile(QStringLiteral(SOURCE_DIR "/samples/sample.VRD"));
  ASSERT_TRUE(sample.ok());
  StripDocument pristine;
  pristine.SetLines(sample.lines);
  const qsizetype start = pristine.FindStrip(1) + 1;
  const qsizetype end = pristine.EndOfStrip(1);
  QRandomGenerator random(20261208);
  int planned = 0, refused = 0;
  for (int round = 0; round < 300; ++round) {
    Lines lines = sample.lines;
    const int hits = 1 + static_cast<int>(random.bounded(4));
    for (int h = 0; h < hits; ++h) {
      const qsizetype at = start + static_cast<qsizetype>(random.bounded(static_cast<quint32>(end - start)));
      lines[at] = kDamage[random.bounded(static_cast<quint32>(std::size(kDamage)))];
    }
    if (random.bounded(5) == 0) lines.resize(start + random.bounded(static_cast<quint32>(end - start)));
    StripDocument document;
    document.SetLines(lines);
    try {
      const StripPlan plan = PlanStrip(document.lines(), start);
      CutLongKeyTextLines(document, plan);
      RenderStrip(document.lines(), plan, round % 2 ? kAllView : kDetailView);
      ++planned;
    } catch (const DocumentError& error) {
      EXPECT_GE(error.Line(), 0);
      EXPECT_LE(error.Line(), document.size());
      ++refused;
    }
  }
  // Both outcomes occur: the damage is neither always harmless nor always fatal.
  EXPECT_GT(planned, 0);
  EXPECT_GT(refused, 0);
}
