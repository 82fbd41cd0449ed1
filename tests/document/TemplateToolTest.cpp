// vrdtool templates: the listing of a template folder.
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TemplateSamples.h"
#include "support/TestFiles.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  QString out;
  QString err;
};

ToolRun RunTemplates(const QString& folder) {
  QProcess process;
  process.start(QStringLiteral(BUILD_DIR "/vrdtool"), {"templates", "--dir", folder});
  ToolRun run;
  if (!process.waitForFinished(30000)) return run;
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

}  // namespace

TEST(TemplateTool, ListsEachTemplateWithItsSeries) {
  const ToolRun run = RunTemplates(QStringLiteral(SOURCE_DIR "/data"));
  EXPECT_EQ(run.exitCode, 0);
  const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
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
  const ToolRun run = RunTemplates(dir.path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, QStringLiteral("good\t2 groups, 5 keys\tＴｅシリーズ主装置\n"
                                    "none\t0 groups, 0 keys\t(no series)\n"));
  // Qt may add notes of its own on stderr.
  EXPECT_TRUE(run.err.contains(QStringLiteral("テンプレート「Cut.TPL」が途中で終わっています（20行しかありません）。\n")));
  EXPECT_FALSE(run.err.contains(QStringLiteral("good")));
}
