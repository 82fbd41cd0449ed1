// The program on a desktop: the command line, files handed over by a second
// start or dropped on the window, the recent files, the end of a session,
// and the installed program keeping its files out of its prefix.
#include <QDialog>
#include <QDirIterator>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <csignal>

#include "app/Application.h"
#include "base/IniFile.h"
#include "base/Mainsub.h"
#include "base/RecentFiles.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

TEST(StartArguments, OneFileOrHelpOrVersion) {
  struct Case {
    QStringList arguments;
    QString file;
    bool help, version, error;
  };
  const QString cwd = QDir::currentPath();
  const Case cases[] = {
      {{}, "", false, false, false},
      {{"site.VRD"}, cwd + "/site.VRD", false, false, false},
      {{"/data/a.vrd"}, "/data/a.vrd", false, false, false},
      {{"--", "-odd.VRD"}, cwd + "/-odd.VRD", false, false, false},
      {{"--help"}, "", true, false, false},
      {{"-h"}, "", true, false, false},
      {{"--version"}, "", false, true, false},
      {{"--print"}, "", false, false, true},
      {{"a.VRD", "b.VRD"}, cwd + "/a.VRD", false, false, true},
  };
  for (const Case& c : cases) {
    const StartRequest request = ParseStartArguments(c.arguments);
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    EXPECT_EQ(request.file, c.file);
    EXPECT_EQ(request.help, c.help);
    EXPECT_EQ(request.version, c.version);
    EXPECT_EQ(!request.error.isEmpty(), c.error);
  }
}

namespace {

struct DesktopTest : MainWindowFixture {
  QString WriteSite(const QString& name) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(WriteLinesFile(path, DocumentLines({GridStrip({TestKey::Editable(1, {Sj("内線")})})})));
    return path;
  }
  QStringList RecentCaptions() {
    QStringList captions;
    for (QAction* a : main->RecentFilesMenu()->actions()) captions << a->text();
    return captions;
  }
  void ChangeDocument() { main->Document().ClearSavedCopy(); }  // differs from the saved copy
};

}  // namespace

TEST_F(DesktopTest, RecentFilesFollowOpenAndSaveAndForgetMissingFiles) {
  EXPECT_FALSE(main->RecentFilesMenu()->isEnabled());
  const QString a = WriteSite("a.VRD"), b = WriteSite("b&c.VRD");
  ASSERT_TRUE(main->OpenDataFile(a));
  ASSERT_TRUE(main->OpenDataFile(b));
  EXPECT_EQ(RecentCaptions(), (QStringList{"&1 " + dir.filePath("b&&c.VRD"), "&2 " + a}));
  prompts.files = {dir.filePath("saved.VRD")};
  Trigger("ActionFileSaveAs");
  EXPECT_EQ(RecentCaptions(), (QStringList{"&1 " + dir.filePath("saved.VRD"), "&2 " + dir.filePath("b&&c.VRD"), "&3 " + a}));

  QFile::remove(a);
  main->OpenRecentFile(a);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text,
            QStringLiteral("ファイルが見つかりません。最近使ったファイルの一覧から削除します。\n") + a);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("エラー"));
  EXPECT_EQ(RecentCaptions().size(), 2);
  // A listed file opens from the menu, as the open command opens it.
  main->RecentFilesMenu()->actions()[1]->trigger();
  QTRY_COMPARE(main->FileName(), b);
}

TEST_F(DesktopTest, FilesFromTheDesktopAskAboutChangesAndWaitForDialogs) {
  const QString a = WriteSite("a.VRD"), b = WriteSite("b.VRD");
  ASSERT_TRUE(main->OpenDataFile(a));
  ChangeDocument();
  prompts.answers = {PromptAnswer::Cancel, PromptAnswer::No};
  main->OpenFileFromDesktop(b);
  EXPECT_EQ(main->FileName(), a);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, FileSession::DiscardQuestion());

  // Dropped while a dialog is open: opened once the dialog has closed.
  QDialog dialog(main.get());
  QTimer::singleShot(300, &dialog, &QDialog::reject);
  QTimer::singleShot(0, &dialog, [&] {
    QMimeData text, files;
    text.setUrls({QUrl::fromLocalFile(dir.filePath("notes.txt"))});
    files.setUrls({QUrl::fromLocalFile(dir.filePath("notes.txt")), QUrl::fromLocalFile(b)});
    for (QMimeData* data : {&text, &files}) {
      QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(main.get(), &enter);
      EXPECT_EQ(enter.isAccepted(), data == &files);
    }
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main.get(), &drop);
  });
  dialog.exec();
  EXPECT_EQ(main->FileName(), a);
  QTRY_COMPARE(main->FileName(), b);
  EXPECT_EQ(prompts.messages.size(), 2);
}

TEST_F(DesktopTest, TheEndOfTheSessionKeepsUnsavedChangesAndAsksNothing) {
  ASSERT_TRUE(main->OpenDataFile(WriteSite("site.VRD")));
  ChangeDocument();
  const Lines lines = main->Document().lines();
  main->EndSession();
  EXPECT_FALSE(main->isVisible());
  EXPECT_TRUE(prompts.messages.isEmpty());
  const QStringList copies = QDir(dir.filePath("recovery")).entryList({"*.VRD"}, QDir::Files);
  ASSERT_EQ(copies.size(), 1);
  EXPECT_EQ(SplitLines(ReadBytes(dir.filePath("recovery/" + copies[0]))), lines);
}

namespace {

QProcessEnvironment ProgramEnvironment(const QString& runtime, const QString& home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_RUNTIME_DIR", runtime);
  env.insert("HOME", home);
  env.remove("XDG_CONFIG_HOME");
  env.remove("XDG_DATA_HOME");
  return env;
}

// Starts a program, waits until it runs, and ends it with SIGTERM.
struct RunningProgram {
  QProcess process;
  RunningProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    process.setProcessEnvironment(env);
    process.start(program, args);
  }
  bool Runs() { return process.waitForStarted(5000) && !process.waitForFinished(2000); }
  int Terminate() {
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }
};

}  // namespace

TEST(DesktopProgram, ASecondStartHandsItsFileOverAndSigtermWritesTheSettings) {
  QTemporaryDir folder, runtime;
  const QString program = folder.filePath("labelkobo");
  ASSERT_TRUE(QFile::copy(QStringLiteral(BUILD_DIR "/labelkobo"), program));
  const QString a = folder.filePath("a.VRD"), b = folder.filePath("b.VRD");
  for (const QString& path : {a, b}) QFile::copy(QStringLiteral(SOURCE_DIR "/samples/sample.VRD"), path);
  const QProcessEnvironment env = ProgramEnvironment(runtime.path(), folder.filePath("home"));

  RunningProgram first(program, {a}, env);
  ASSERT_TRUE(first.Runs());
  QProcess second;
  second.setProcessEnvironment(env);
  second.start(program, {b});
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0);
  QTest::qWait(500);
  EXPECT_EQ(first.Terminate(), 0);
  // The settings were written on the way out: both files were opened, b last.
  IniFile ini(folder.filePath("VRD6S.ini"));
  EXPECT_EQ(RecentFiles(ini).Files(), (QStringList{b, a}));
  const QByteArray bytes = ReadBytes(folder.filePath("VRD6S.ini"));  // the list comes after every other key
  EXPECT_EQ(bytes.indexOf('[', bytes.indexOf("[RecentFiles]") + 1), -1);
  EXPECT_EQ(ini.ReadInteger("Position", "MainWState", -1), 2);
}

TEST(DesktopProgram, TheInstalledProgramKeepsItsFilesInTheHomeFolder) {
  QTemporaryDir prefix, home, runtime;
  QProcess install;
  install.start("cmake", {"--install", BUILD_DIR, "--prefix", prefix.path()});
  ASSERT_TRUE(install.waitForFinished(60000));
  ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
  for (const char* file : {"bin/labelkobo", "share/applications/org.labelkobo.labelkobo.desktop",
                           "share/icons/hicolor/48x48/apps/labelkobo.png", "share/man/man1/vrdtool.1.gz"}) {
    EXPECT_TRUE(QFile::exists(prefix.filePath(file))) << file;  // the package test checks the rest
  }
  auto listing = [&] {
    QStringList entries;
    for (QDirIterator it(prefix.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
      const QFileInfo file(it.next());
      entries << file.filePath() + QString::number(file.lastModified().toMSecsSinceEpoch());
    }
    return entries;
  };
  const QStringList before = listing();
  const QProcessEnvironment env = ProgramEnvironment(runtime.path(), home.path());

  // A user's own template is read before the installed ones.
  QDir().mkpath(home.filePath(".local/share/labelkobo/templates"));
  QFile::copy(QStringLiteral(SOURCE_DIR "/data/Ｔｅ24ボタン.TPL"), home.filePath(".local/share/labelkobo/templates/Mine.TPL"));
  QProcess vrdtool;
  vrdtool.setProcessEnvironment(env);
  vrdtool.start(prefix.filePath("bin/vrdtool"), {"templates"});
  ASSERT_TRUE(vrdtool.waitForFinished(10000));
  const QString listed = QString::fromUtf8(vrdtool.readAllStandardOutput());
  EXPECT_TRUE(listed.startsWith("Mine\t")) << listed.toStdString();
  EXPECT_EQ(listed.count('\n'), 9);

  RunningProgram program(prefix.filePath("bin/labelkobo"), {prefix.filePath("share/labelkobo/samples/sample.VRD")}, env);
  ASSERT_TRUE(program.Runs());
  QTest::qWait(500);
  EXPECT_EQ(program.Terminate(), 0);
  EXPECT_TRUE(QFile::exists(home.filePath(".config/labelkobo/VRD6S.ini")));
  EXPECT_EQ(listing(), before);
}
