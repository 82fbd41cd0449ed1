// vrdtool render, run as the built program: the PNG equals the renderer's
// image of the same strip, and every failure is one line with exit code 2.
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "document/StripDocument.h"
#include "support/StripBuilder.h"
#include "support/RunVrdtool.h"
#include "support/TestFiles.h"
#include "view/KeyTextLoad.h"
#include "view/StripRenderer.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  QString err;
};

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFileInfo::exists(Tool())) GTEST_SKIP() << "vrdtool is not built";
    ASSERT_TRUE(dir_.isValid());
  }

  static QString Tool() { return QStringLiteral(BUILD_DIR "/vrdtool"); }
  QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

  static ToolRun Render(const QStringList& args) {
    const VrdtoolRun run = RunVrdtool(QStringList{"render"} + args);
    return {run.exitCode, run.Err()};
  }

  QString Write(const char* name, const Lines& lines) {
    EXPECT_TRUE(WriteLinesFile(Path(name), lines));
    return Path(name);
  }

  QTemporaryDir dir_;
};

TestStrip Strip(const char* extension, const char* text) {
  TestStrip strip;
  strip.extension = extension;
  TestGroup group;
  group.keys = {TestKey::Editable(1, {Sj(text)}), TestKey::Editable(2, {"123456789012345678901"})};
  group.keys[1].y = "14";
  group.keys[1].textY = "17";
  strip.groups = {group};
  return strip;
}

// The lines of stderr without the platform's own notes (QStandardPaths).
QStringList ErrorLines(const QString& err) {
  QStringList lines;
  for (const QString& line : err.split('\n', Qt::SkipEmptyParts)) {
    if (!line.startsWith(QStringLiteral("QStandardPaths"))) lines.append(line);
  }
  return lines;
}

}  // namespace

TEST_F(RenderCommand, DrawsTheStripAsTheViewShowsIt) {
  const Lines lines = DocumentLines({Strip("201", "外線"), Strip("202", "保留")});
  const QString file = Write("strips.vrd", lines);

  StripDocument document;
  document.SetLines(lines);
  const qsizetype start = document.FindStrip(2) + 1;
  const StripPlan plan = PlanStrip(document.lines(), start);
  EXPECT_EQ(CutLongKeyTextLines(document, plan), 1);

  for (ViewKind view : {kDetailView, kAllView}) {
    QStringList args = {file, "2", Path("out.png")};
    if (view == kAllView) args.append("--all");
    const ToolRun run = Render(args);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage png(Path("out.png"));
    ASSERT_EQ(png.size(), plan.view[view].size);
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
              RenderStrip(document.lines(), plan, view).convertToFormat(QImage::Format_RGB32));
  }
  // The data file itself is not touched.
  EXPECT_EQ(ReadBytes(file), JoinLines(lines));
}

TEST_F(RenderCommand, FailuresAreOneLineWithExitCodeTwo) {
  const QString good = Write("good.vrd", DocumentLines({Strip("201", "外線")}));
  TestStrip damaged = Strip("201", "外線");
  damaged.groups[0].keys[0].bold = "x";
  const QString bad = Write("bad.vrd", DocumentLines({damaged}));
  TestStrip many;
  many.groups = QList<TestGroup>(101, TestGroup());
  const QString tooMany = Write("many.vrd", DocumentLines({many}));
  Lines old = DocumentLines({Strip("201", "外線")});
  old.removeFirst();
  const QString oldLayout = Write("old.vrd", old);

  struct Case {
    QStringList args;
    QString contains;
  } cases[] = {
      {{good, "1"}, "usage: vrdtool render FILE N OUT.png [--all]"},
      {{good, "one", Path("x.png")}, "usage:"},
      {{good, "0", Path("x.png")}, "usage:"},
      {{Path("missing.vrd"), "1", Path("x.png")}, "cannot read the file"},
      {{good, "2", Path("x.png")}, "there is no strip 2"},
      {{oldLayout, "1", Path("x.png")}, "not a strip data file"},  // blocks too long for the old layout
      {{bad, "1", Path("x.png")}, "示名条データに誤りがあります（39行目：整数）。"},
      {{tooMany, "1", Path("x.png")}, "ボタンの数が多すぎます。"},
      {{good, "1", Path("no/such/folder/x.png")}, "cannot write the image"},
  };
  for (const Case& c : cases) {
    const ToolRun run = Render(c.args);
    EXPECT_EQ(run.exitCode, 2) << c.args.join(' ').toStdString();
    const QStringList lines = ErrorLines(run.err);
    ASSERT_EQ(lines.size(), 1) << run.err.toStdString();
    EXPECT_TRUE(lines[0].contains(c.contains)) << lines[0].toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(Path("x.png")));
}
