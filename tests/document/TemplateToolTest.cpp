// vrdtool templates and vrdtool template ...: the listing of the template
// folders, a strip's type taken as a template, a template drawn, bad
// arguments.
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/StripLayout.h"
#include "TemplateSamples.h"
#include "support/RunVrdtool.h"
#include "support/TestFiles.h"

namespace {

VrdtoolRun RunTemplates(const QString& folder) {
  return RunVrdtool({"templates", "--dir", folder});
}

const QString kData = QStringLiteral(SOURCE_DIR "/data");

}  // namespace

TEST(TemplateTool, ListsEachTemplateWithItsSeriesFolderAndCheck) {
  const VrdtoolRun run = RunTemplates(kData);
  EXPECT_EQ(run.exitCode, 0);
  const QStringList lines = run.Out().split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(lines.size(), 8);
  EXPECT_TRUE(lines.contains(QStringLiteral(
      "Ｒｕ・Ｈｏ共用30ボタン\t3 groups, 44 keys\tＲｕシリーズ主装置, Ｈｏシリーズ主装置\tshipped %1\tok").arg(kData)));
  EXPECT_TRUE(lines.contains(QStringLiteral("Ｔｅ24ボタン\t3 groups, 38 keys\tＴｅシリーズ主装置\tshipped %1\tok").arg(kData)));
}

TEST(TemplateTool, ReportsDamagedAndUnofferedTemplatesAndFails) {
  QTemporaryDir dir;
  WriteTemplate(dir.filePath("good.tpl"), TeTemplate());
  Lines bad = TeTemplate();
  WriteTemplate(dir.filePath("Cut.TPL"), bad.mid(0, 20));
  WriteTemplate(dir.filePath("none.TPL"), {Sj("どの主装置でもない"), "0"});
  const VrdtoolRun run = RunTemplates(dir.path());
  EXPECT_EQ(run.exitCode, 1);
  const QStringList out = run.Out().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(out.size(), 3);
  EXPECT_TRUE(out[0].startsWith(QStringLiteral("Cut\t0 groups, 0 keys\tＴｅシリーズ主装置\tuser ")));
  EXPECT_TRUE(out[0].endsWith(QStringLiteral("\t1 errors, 0 warnings")));
  // TeTemplate's keys all lie on one place: warnings, no error.
  EXPECT_TRUE(out[1].startsWith(QStringLiteral("good\t2 groups, 5 keys\tＴｅシリーズ主装置\tuser ")));
  EXPECT_TRUE(out[1].contains(QStringLiteral("\t0 errors, ")));
  EXPECT_TRUE(out[2].endsWith(QStringLiteral("\tnot offered: タイトル行がどのシリーズも指定していません。")));
  // Qt may add notes of its own on stderr.
  EXPECT_TRUE(run.Err().contains(QStringLiteral("Cut.TPL: 21行目（1番目のキー）: ファイルが途中で終わっています（20行しかありません）。\n")));
  EXPECT_FALSE(run.Err().contains(QStringLiteral("good")));
}

TEST(TemplateTool, AStripsTypeWrittenAsATemplateHasTheTemplatesLines) {
  // The sample's strips were made from the shipped templates: a strip's
  // type comes back as its template, the title aside.
  QTemporaryDir dir;
  const QString out = dir.filePath("back.TPL");
  const VrdtoolRun run = RunVrdtool({"template", "from-strip", QStringLiteral(SOURCE_DIR "/samples/sample.VRD"), "1", out});
  ASSERT_EQ(run.exitCode, 0) << run.Out().toStdString() << run.Err().toStdString();
  Lines back, strip, shipped;
  ASSERT_TRUE(ReadLinesFile(out, &back));
  ASSERT_TRUE(ReadLinesFile(QStringLiteral(SOURCE_DIR "/samples/sample.VRD"), &strip));
  const QString type = sjis::Decode(strip[3 + layout::kStripType]);
  ASSERT_TRUE(ReadLinesFile(kData + '/' + type + QStringLiteral(".TPL"), &shipped));
  EXPECT_EQ(back[0], strip[3 + layout::kSeriesName]);
  EXPECT_EQ(back.mid(1), shipped.mid(1));

  EXPECT_EQ(RunVrdtool({"template", "check", out}).exitCode, 0);
}

TEST(TemplateTool, RendersAStripOfTheTypeAsTheDetailViewDoes) {
  QTemporaryDir dir;
  const QString png = dir.filePath("te.png");
  ASSERT_EQ(RunVrdtool({"template", "render", kData + QStringLiteral("/Ｔｅ24ボタン.TPL"), png}).exitCode, 0);
  EXPECT_EQ(QImage(png).size(), QSize(650, 793));
  // Another series' sheet on request: the large one.
  ASSERT_EQ(RunVrdtool({"template", "render", kData + QStringLiteral("/Ｔｅ24ボタン.TPL"), png, "--series", "6"}).exitCode, 0);
  EXPECT_EQ(QImage(png).size(), QSize(800, 971));
}

TEST(TemplateTool, RefusesBadArgumentsWithExitTwo) {
  QTemporaryDir dir;
  const QString out = dir.filePath("g.TPL");
  const QList<QStringList> bad = {
      {"template"},
      {"template", "check"},
      {"template", "check", dir.filePath("missing.TPL")},
      {"template", "grid", out, "--group", "2x2"},                       // no series
      {"template", "grid", out, "--series", "9", "--group", "2x2"},      // no such series
      {"template", "grid", out, "--series", "2", "--group", "0x2"},
      {"template", "grid", out, "--series", "2", "--group", "2x2", "--key", "0x9"},
      {"template", "grid", out, "--series", "2", "--group", "2x2", "--labels", "up"},
      {"template", "grid", out, "--series", "2", "--group", "2x2", "--fixed", "とても長い固定キーの文字です"},
      {"template", "grid", out, "--series", "2", "--group", "20x20"},    // more than 100 keys
      {"template", "render", kData + QStringLiteral("/Ｔｅ24ボタン.TPL"), out, "--series", "7"},
      {"template", "from-strip", QStringLiteral(SOURCE_DIR "/samples/sample.VRD"), "99", out},  // no such strip
  };
  for (const QStringList& args : bad) {
    EXPECT_EQ(RunVrdtool(args).exitCode, 2) << args.join(' ').toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(out));
}
