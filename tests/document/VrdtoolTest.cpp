// The built vrdtool run on the fixture files: output and exit codes.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "document/DataFileLock.h"
#include "support/RunVrdtool.h"
#include "support/TestFiles.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  QString out;
  QString err;
};

QString Fixture(const char* name) { return QStringLiteral(TEST_DATA_DIR "/") + QString::fromLatin1(name); }

class VrdtoolTest : public ::testing::Test {
 protected:
  static ToolRun Vrdtool(const QStringList& args) {
    const VrdtoolRun run = RunVrdtool(args);
    return {run.exitCode, run.Out(), run.Err()};
  }

  QTemporaryDir dir;
};

}  // namespace

TEST_F(VrdtoolTest, InfoPrintsOneTabSeparatedLinePerStrip) {
  const QString expected = QStringLiteral(
      "1\tＫａシリーズ主装置\t標準Ｋａ\t201\t営業部\t山田 太郎\t2017/03/05 14:07\n"
      "2\tＳＩＰ対応電話機\tＳＩＰ１２\t305\t総務\t\t2020/12/31 23:59\n");
  for (const char* name : {"two_strips.VRD", "two_strips_old.VRD", "two_strips_lf.vrd"}) {
    const ToolRun run = Vrdtool({"info", Fixture(name)});
    EXPECT_EQ(run.exitCode, 0) << name;
    EXPECT_EQ(run.out, expected) << name;
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  }
  const ToolRun empty = Vrdtool({"info", Fixture("header_only.VRD")});
  EXPECT_EQ(empty.exitCode, 0);
  EXPECT_TRUE(empty.out.isEmpty());
}

TEST_F(VrdtoolTest, CheckReportsTotalsOrTheFirstDamagedLine) {
  ToolRun run = Vrdtool({"check", Fixture("two_strips.VRD")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, QStringLiteral("ok: 2 strips, 4 keys\n"));
  run = Vrdtool({"check", Fixture("two_strips_old.VRD")});
  EXPECT_EQ(run.out, QStringLiteral("ok: 2 strips, 4 keys\n"));

  // Strip 2's group count (line 132 of the file) reads "x".
  run = Vrdtool({"check", Fixture("damaged_group_count.VRD")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, Fixture("damaged_group_count.VRD") + QStringLiteral(":132: 示名条 2: 0以上の個数\n"));

  // In an old-layout file the line is the file's own line, not the converted one.
  QByteArray old = ReadBytes(Fixture("two_strips_old.VRD"));
  QList<QByteArray> lines = old.split('\n');
  lines[1 + 7 + 7] = "wide\r";  // strip 1, first key, outline x
  WriteBytes(dir.filePath("old.VRD"), lines.join('\n'));
  run = Vrdtool({"check", dir.filePath("old.VRD")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, dir.filePath("old.VRD") + QStringLiteral(":16: 示名条 1: キー 0: ミリメートルの数値\n"));

  run = Vrdtool({"check", Fixture("truncated.VRD")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.startsWith(Fixture("truncated.VRD") + ":158: ")) << run.out.toStdString();
}

TEST_F(VrdtoolTest, ConvertWritesWhatSaveWrites) {
  const QString out = dir.filePath("out.VRD");
  for (const char* name : {"two_strips_old.VRD", "two_strips_lf.vrd", "two_strips_nul.VRD", "two_strips.VRD"}) {
    QFile::remove(out);
    const ToolRun run = Vrdtool({"convert", Fixture(name), out});
    EXPECT_EQ(run.exitCode, 0) << name;
    EXPECT_EQ(ReadBytes(out), ReadBytes(Fixture("two_strips.VRD"))) << name;
  }
  const ToolRun failed = Vrdtool({"convert", Fixture("two_strips.VRD"), dir.filePath("no/such/out.VRD")});
  EXPECT_EQ(failed.exitCode, 2);
  EXPECT_EQ(failed.err.count('\n'), 1);
}

namespace {

// Fills every byte left on the file system of `folder`.
void FillDisk(const QString& folder) {
  QFile filler(folder + QStringLiteral("/filler"));
  ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
  const QByteArray page(4096, 'x');
  while (filler.write(page) == page.size()) {
  }
  while (filler.write("x", 1) == 1) {
  }
}

}  // namespace

TEST_F(VrdtoolTest, ConvertOntoAFullDiskExitsWithTwoAndKeepsTheOldFile) {
  const QString tiny = dir.filePath("tiny");
  ASSERT_TRUE(QDir().mkpath(tiny));
  if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", tiny}) != 0) {
    GTEST_SKIP() << "this machine allows no tmpfs mount";
  }
  struct Unmount {
    QString path;
    ~Unmount() { QProcess::execute("umount", {path}); }
  } unmount{tiny};
  const QString target = tiny + QStringLiteral("/site.VRD");
  const QByteArray old = ReadBytes(Fixture("two_strips_lf.vrd"));
  WriteBytes(target, old);
  FillDisk(tiny);

  const ToolRun full = Vrdtool({"convert", Fixture("two_strips_old.VRD"), target});
  EXPECT_EQ(full.exitCode, 2);
  EXPECT_EQ(full.err, QStringLiteral("vrdtool: %1: cannot write the file\n").arg(target));
  EXPECT_EQ(ReadBytes(target), old);
  EXPECT_EQ(QDir(tiny).entryList(QDir::Files | QDir::Hidden), (QStringList{"filler", "site.VRD"}));

  QFile::remove(tiny + QStringLiteral("/filler"));
  EXPECT_EQ(Vrdtool({"convert", Fixture("two_strips_old.VRD"), target}).exitCode, 0);
  EXPECT_EQ(ReadBytes(target), ReadBytes(Fixture("two_strips.VRD")));
}

TEST_F(VrdtoolTest, UnreadableAndUnconvertibleFilesExitWithTwo) {
  struct Case {
    QStringList args;
    QString err;
  };
  const QList<Case> cases = {
      {{"info", Fixture("missing.VRD")}, "vrdtool: " + Fixture("missing.VRD") + ": cannot read the file\n"},
      {{"check", Fixture("old_damaged.VRD")},
       "vrdtool: " + Fixture("old_damaged.VRD") + QStringLiteral(":15: not a strip data file (0以上の個数)\n")},
      {{"check", Fixture("empty.VRD")},
       "vrdtool: " + Fixture("empty.VRD") + QStringLiteral(":1: not a strip data file (行が足りません)\n")},
      {{"convert", Fixture("old_damaged.VRD"), dir.filePath("x.VRD")},
       "vrdtool: " + Fixture("old_damaged.VRD") + QStringLiteral(":15: not a strip data file (0以上の個数)\n")},
      {{"info"}, "vrdtool info: wrong number of arguments (see vrdtool info --help)\n"},
      {{"convert", "a"}, "vrdtool convert: wrong number of arguments (see vrdtool convert --help)\n"},
  };
  for (const Case& c : cases) {
    const ToolRun run = Vrdtool(c.args);
    EXPECT_EQ(run.exitCode, 2) << c.args.join(' ').toStdString();
    EXPECT_EQ(run.err, c.err);
    EXPECT_TRUE(run.out.isEmpty());
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("x.VRD")));
}

TEST_F(VrdtoolTest, HelpNamesTheCommands) {
  const ToolRun run = Vrdtool({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  for (const char* line : {"  info FILE\n", "  check FILE\n", "  convert IN OUT [--force]\n"}) {
    EXPECT_TRUE(run.out.contains(QString::fromLatin1(line))) << line;
  }
  EXPECT_EQ(Vrdtool({"check", "--help"}).out, QStringLiteral("usage: vrdtool check FILE\n"));
  // The manual page has an item for every command, naming every option
  // the command's usage line names.
  const QString page = QString::fromUtf8(ReadBytes(SOURCE_DIR "/docs/man/vrdtool.1")).replace("\\-", "-");
  const QRegularExpression usage(QStringLiteral("^  (\\S+) (.*)$"), QRegularExpression::MultilineOption);
  int commands = 0;
  for (const QRegularExpressionMatch& command : usage.globalMatch(run.out)) {
    ++commands;
    const qsizetype item = page.indexOf(QStringLiteral("\n.TP\n.BI ") + command.captured(1) + ' ');
    EXPECT_GE(item, 0) << command.captured(1).toStdString();
    const QString text = page.mid(item, page.indexOf(QStringLiteral("\n.TP"), item + 1) - item);
    for (const QRegularExpressionMatch& option : QRegularExpression("--[a-z-]+").globalMatch(command.captured(2))) {
      EXPECT_TRUE(text.contains(option.captured(0))) << command.captured(1).toStdString() << " " << option.captured(0).toStdString();
    }
  }
  EXPECT_GE(commands, 11);
}

TEST_F(VrdtoolTest, CsvRoundTripChangesNothingAndABadFileLeavesTheDataFileAlone) {
  const QByteArray sample = ReadBytes(QStringLiteral(SOURCE_DIR "/samples/sample.VRD"));
  const QString site = dir.filePath("site.VRD");
  const QString csv = dir.filePath("site.csv");
  WriteBytes(site, sample);
  for (const QStringList& flags : {QStringList(), QStringList{"--utf8"}}) {
    ASSERT_EQ(Vrdtool(QStringList{"export-csv", site, csv} + flags).exitCode, 0);
    const ToolRun run = Vrdtool({"import-csv", site, csv});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("作成 0件、更新 0件、変更なし 6件\n"));
    EXPECT_EQ(ReadBytes(site), sample);
    const QString copy = dir.filePath("copy.VRD");  // written out all the same: byte for byte the same
    EXPECT_EQ(Vrdtool({"import-csv", site, csv, "--output", copy}).exitCode, 0);
    EXPECT_EQ(ReadBytes(copy), sample);
  }
  const QString text = QString::fromUtf8(ReadBytes(csv));  // the UTF-8 export
  const QString edited = dir.filePath("edited.csv");
  WriteBytes(edited, QString(text).replace(QStringLiteral("営業一課"), QStringLiteral("あいうえおかきくけこa")).toUtf8());
  ToolRun run = Vrdtool({"import-csv", site, edited});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.startsWith(edited + QStringLiteral(": 2行目 キー3: ")));
  EXPECT_EQ(ReadBytes(site), sample);

  WriteBytes(edited, QString(text).replace(QStringLiteral("営業一課"), QStringLiteral("営業第一課")).toUtf8());
  run = Vrdtool({"import-csv", site, edited, "--dry-run"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.out.startsWith(QStringLiteral("2\t201\t更新\n\t\tキー3: 営業一課 → 営業第一課\n"
                                                "3\t202\t更新\n\t\tキー3: 営業一課 → 営業第一課\n4\t301\t変更なし\n")));
  EXPECT_EQ(ReadBytes(site), sample);
  const QString out = dir.filePath("out.VRD");
  EXPECT_EQ(Vrdtool({"import-csv", site, edited, "--output", out}).exitCode, 0);
  EXPECT_EQ(ReadBytes(site), sample);
  EXPECT_EQ(Vrdtool({"check", out}).exitCode, 0);
  EXPECT_TRUE(ReadBytes(out).contains(Sj("営業第一課")));

  // A cell the spreadsheet turned into an error value is taken only when accepted.
  WriteBytes(edited, QString(text).replace(QStringLiteral("営業一課"), QStringLiteral("#NAME?")).toUtf8());
  run = Vrdtool({"import-csv", site, edited});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.startsWith(edited + QStringLiteral(": 2行目 キー3: 営業一課 → #NAME? ［警告］表計算ソフトのエラー値です")))
      << run.out.toStdString();
  EXPECT_TRUE(run.out.endsWith(QStringLiteral("--accept-warnings を付けてください\n")));
  EXPECT_EQ(ReadBytes(site), sample);
  EXPECT_EQ(Vrdtool({"import-csv", site, edited, "--accept-warnings"}).exitCode, 0);
  EXPECT_TRUE(ReadBytes(site).contains("#NAME?"));
}

TEST_F(VrdtoolTest, AFileOpenInTheProgramIsRewrittenOnlyWithForce) {
  const QByteArray sample = ReadBytes(QStringLiteral(SOURCE_DIR "/samples/sample.VRD"));
  const QString site = dir.filePath("site.VRD");
  const QString csv = dir.filePath("site.csv");
  WriteBytes(site, sample);
  ASSERT_EQ(Vrdtool({"export-csv", site, csv, "--utf8"}).exitCode, 0);
  WriteBytes(csv, QString::fromUtf8(ReadBytes(csv)).replace(QStringLiteral("営業一課"), QStringLiteral("営業第一課")).toUtf8());
  const LockHolder holder{QStringLiteral("sato"), QStringLiteral("pc-reception"), 4711,
                          QDateTime::currentDateTimeUtc().addSecs(-60)};
  WriteBytes(LockPathOf(site), holder.ToBytes());
  const QList<QStringList> rewrites = {{"import-csv", site, csv}, {"convert", site, site}};
  for (const QStringList& args : rewrites) {
    const ToolRun refused = Vrdtool(args);
    EXPECT_EQ(refused.exitCode, 2) << args[0].toStdString();
    EXPECT_TRUE(refused.err.startsWith(QStringLiteral("vrdtool: %1: open in the program by sato on pc-reception (process 4711) since ").arg(site)))
        << refused.err.toStdString();
    EXPECT_EQ(ReadBytes(site), sample);
  }
  EXPECT_EQ(Vrdtool({"import-csv", site, csv, "--force"}).exitCode, 0);
  EXPECT_TRUE(ReadBytes(site).contains(Sj("営業第一課")));
  EXPECT_EQ(Vrdtool({"convert", site, site, "--force"}).exitCode, 0);
  // A lock its program left behind (gone from this computer) holds nothing back.
  LockHolder left = LockHolder::ThisProgram();
  left.process = 0;
  WriteBytes(LockPathOf(site), left.ToBytes());
  EXPECT_EQ(Vrdtool({"convert", site, site}).exitCode, 0);
}
