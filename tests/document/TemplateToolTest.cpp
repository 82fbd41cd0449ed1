// vrdtool templates: the listing of a template folder.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TemplateSamples.h"
#include "support/RunVrdtool.h"
#include "support/TestFiles.h"

namespace {

VrdtoolRun RunTemplates(const QString& folder) {
  return RunVrdtool({"templates", "--dir", folder});
}

}  // namespace

TEST(TemplateTool, ListsEachTemplateWithItsSeries) {
  const VrdtoolRun run = RunTemplates(QStringLiteral(SOURCE_DIR "/data"));
  EXPECT_EQ(run.exitCode, 0);
  const QStringList lines = run.Out().split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(lines.size(), 8);
  EXPECT_TRUE(lines.contains(QStringLiteral(
      "Ｒｕ・Ｈｏ共用30ボタン\t3 groups, 44 keys\tＲｕシリーズ主装置, Ｈｏシリーズ主装置")));
  EXPECT_TRUE(lines.contains(QStringLiteral("Ｔｅ24ボタン\t3 groups, 38 keys\tＴｅシリーズ主装置")));
}

TEST(TemplateTool, ReportsDamagedTemplatesAndFails) {
  QTemporaryDir dir;
  WriteTemplate(dir.filePath("good.tpl"), TeTemplate());
  Lines bad = TeTemplate();
  WriteTemplate(dir.filePath("Cut.TPL"), bad.mid(0, 20));
  WriteTemplate(dir.filePath("none.TPL"), {Sj("どの主装置でもない"), "0"});
  const VrdtoolRun run = RunTemplates(dir.path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.Out(), QStringLiteral("good\t2 groups, 5 keys\tＴｅシリーズ主装置\n"
                                    "none\t0 groups, 0 keys\t(no series)\n"));
  // Qt may add notes of its own on stderr.
  EXPECT_TRUE(run.Err().contains(QStringLiteral("テンプレート「Cut.TPL」が途中で終わっています（20行しかありません）。\n")));
  EXPECT_FALSE(run.Err().contains(QStringLiteral("good")));
}
