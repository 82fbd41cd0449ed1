// The program on a desktop: the command line, files handed over by a second
// start or dropped on the window, the recent files, the end of a session,
// and the installed program keeping its files out of its prefix.
#include <QDialog>
#include <QDirIterator>
#include <QMenu>
#include <QLocalSocket>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <atomic>
#include <csignal>
#include <thread>

#include "app/Application.h"
#include "app/SingleInstance.h"
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
  ASSERT_TRUE(QTest::qWaitFor([&] { return main->FileName() == b; }));
}

TEST_F(DesktopTest, FilesFromTheDesktopAskAboutChangesAndWaitForDialogs) {
  const QString a = WriteSite("a.VRD"), b = WriteSite("b.VRD");
  ASSERT_TRUE(main->OpenDataFile(a));
  ChangeDocument();
  prompts.answers = {PromptAnswer::Cancel, PromptAnswer::No};
  main->OpenFileFromDesktop(b);
  EXPECT_TRUE(prompts.messages.isEmpty());  // opened from the event loop
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.messages.isEmpty(); }));
  EXPECT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(main->FileName(), a);
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
  ASSERT_TRUE(QTest::qWaitFor([&] { return main->FileName() == b; }));
  EXPECT_EQ(prompts.messages.size(), 2);
}

namespace {

// A second start, in a thread of its own so that the window's thread can
// answer it: connects, and sends the path only after the connection has
// been taken, as a slow start does, so the request arrives as a read.
struct SecondStart {
  std::atomic<bool> done = false;
  std::atomic<bool> taken = false;
  std::thread thread;
  SecondStart(const QString& socketPath, const QString& path)
      : thread([this, socketPath, path] {
          QLocalSocket socket;
          socket.connectToServer(socketPath);
          if (socket.waitForConnected(5000)) {
            QThread::msleep(20);
            socket.write(path.toUtf8() + '\n');
            while (socket.waitForReadyRead(5000) && !socket.canReadLine()) {
            }
            taken = socket.readLine() == "ok\n";
          }
          done = true;
        }) {}
  ~SecondStart() { thread.join(); }
};

}  // namespace

TEST_F(DesktopTest, HandOversWithAQuestionOpenNeverCrashAndChangeNothingOnCancel) {
  const QString lock = dir.filePath("VRD5S.exe.lock");
  SingleInstance instance(lock);
  ASSERT_TRUE(instance.TryAcquire());
  ConnectDesktopRequests(instance, *main);
  const QString a = WriteSite("a.VRD"), b = WriteSite("b.VRD"), missing = dir.filePath("missing.VRD");
  ASSERT_TRUE(main->OpenDataFile(a));
  // Each message runs an event loop, as a message box does, until the
  // second start has its answer and a while after: its socket closes
  // while the message is shown.
  SecondStart* second = nullptr;
  prompts.whileShown = [&] {
    QDialog box(main.get());
    QTimer poll;
    int after = 0;
    QObject::connect(&poll, &QTimer::timeout, &box, [&] {
      if (second && second->done && ++after > 20) box.reject();
    });
    poll.start(1);
    box.exec();
  };
  for (int round = 0; round < 50 && !HasFailure(); ++round) {
    for (PromptAnswer answer : {PromptAnswer::Cancel, PromptAnswer::No, PromptAnswer::Ok}) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", answer " << int(answer));
      const QString was = main->FileName();
      const QString other = was == a ? b : a;
      const bool missingFile = answer == PromptAnswer::Ok;
      if (!missingFile) ChangeDocument();
      const Lines lines = main->Document().lines();
      prompts.messages.clear();
      prompts.answers = {answer};
      {
        SecondStart start(dir.filePath("labelkobo.socket"), missingFile ? missing : other);
        second = &start;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.messages.isEmpty() && start.done; }));
        EXPECT_TRUE(start.taken);
        second = nullptr;
      }
      ASSERT_EQ(prompts.messages.size(), 1);
      EXPECT_EQ(prompts.messages[0].text,
                missingFile ? FileSession::ReadErrorMessage(missing) : FileSession::DiscardQuestion());
      if (answer == PromptAnswer::No) {
        EXPECT_EQ(main->FileName(), other);
        EXPECT_FALSE(main->Document().IsChanged());
      } else {
        EXPECT_EQ(main->FileName(), was);
        EXPECT_EQ(main->Document().lines(), lines);
        EXPECT_EQ(main->ListView1->topLevelItemCount(), 1);
      }
    }
  }
}

TEST_F(DesktopTest, AFileThatCannotBeReadIsRefusedBeforeTheQuestion) {
  const QString folder = dir.filePath("folder.VRD"), missing = dir.filePath("missing.VRD");
  ASSERT_TRUE(QDir().mkpath(folder));
  ASSERT_TRUE(main->OpenDataFile(WriteSite("a.VRD")));
  ChangeDocument();
  const Lines lines = main->Document().lines();
  auto drop = [&] {
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(missing)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    for (QEvent* event : std::initializer_list<QEvent*>{&enter, &drop}) QApplication::sendEvent(main.get(), event);
  };
  const std::pair<std::function<void()>, QString> cases[] = {
      {[&] { main->OpenFileFromDesktop(folder); }, FileSession::ReadErrorMessage(folder)},
      {drop, FileSession::ReadErrorMessage(missing)},
      {[&] { main->OpenRecentFile(folder); }, "ファイルが見つかりません。最近使ったファイルの一覧から削除します。\n" + folder},
  };
  for (const auto& [open, message] : cases) {
    prompts.messages.clear();
    open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.messages.isEmpty(); }));
    QTest::qWait(20);
    ASSERT_EQ(prompts.messages.size(), 1);  // no question about the changes
    EXPECT_EQ(prompts.messages[0].text, message);
    EXPECT_EQ(main->Document().lines(), lines);
    EXPECT_EQ(main->ListView1->topLevelItemCount(), 1);
  }
}

TEST_F(DesktopTest, TheTitleNamesTheFileAndMarksUnsavedChanges) {
  const QString untitled = QStringLiteral("無題[*] – ラベル工房"), site = QStringLiteral("site.VRD[*] – ラベル工房");
  EXPECT_EQ(main->windowTitle(), untitled);
  EXPECT_EQ(TFMain::TitleFor("/a/x[*].VRD"), QStringLiteral("x[*][*].VRD[*] – ラベル工房"));
  ASSERT_TRUE(main->OpenDataFile(WriteSite("site.VRD")));
  // Opened, edited, undone to the saved state, redone, saved, undone, redone.
  const std::pair<std::function<void()>, bool> steps[] = {
      {[] {}, false},
      {[&] { ClickKey(0); main->ToolButtonBold->click(); }, true},
      {[&] { Trigger("ActionEditUndo"); }, false},
      {[&] { Trigger("ActionEditRedo"); }, true},
      {[&] { Trigger("ActionFileSave"); }, false},
      {[&] { Trigger("ActionEditUndo"); }, true},
      {[&] { Trigger("ActionEditRedo"); }, false},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].first();
    EXPECT_EQ(main->windowTitle(), site) << i;
    EXPECT_EQ(main->isWindowModified(), steps[i].second) << i;
  }
  QTest::keyClick(main.get(), Qt::Key_N, Qt::ControlModifier);  // a new document
  EXPECT_EQ(main->windowTitle(), untitled);
  EXPECT_EQ(main->windowIcon().pixmap(48, 48).toImage().pixelColor(24, 24),
            QImage(SOURCE_DIR "/data/desktop/labelkobo-48.png").pixelColor(24, 24));
}

TEST_F(DesktopTest, ARecentFileUnderCafeOpensAfterARestartAndOtherSettingsStay) {
  const QString ini = dir.filePath("VRD6S.ini");
  auto restart = [&] {
    main.reset();
    main = std::make_unique<TFMain>(dir.path());
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
  };
  restart();
  const QByteArray settings = ReadBytes(ini);
  restart();
  EXPECT_EQ(ReadBytes(ini), settings);  // no recent files: byte for byte
  ASSERT_TRUE(QDir().mkpath(dir.filePath("Café")));
  const QString cafe = WriteSite("Café/site.VRD");
  ASSERT_TRUE(main->OpenDataFile(cafe));
  restart();
  const QByteArray withRecent = ReadBytes(ini);
  EXPECT_TRUE(withRecent.contains("\r\n\r\n[RecentFiles]\r\nFile1=file://")) << withRecent.toStdString();
  restart();
  EXPECT_EQ(ReadBytes(ini), withRecent);
  ASSERT_EQ(RecentCaptions(), QStringList{"&1 " + cafe});
  main->RecentFilesMenu()->actions()[0]->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return main->FileName() == cafe; }));
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

  // A user's own templates are read before the installed ones, and hide
  // an installed one of the same name.
  const QString mine = home.filePath(".local/share/labelkobo/templates/");
  const QString te = QStringLiteral("Ｔｅ24ボタン.TPL");
  QDir().mkpath(mine);
  QFile::copy(QStringLiteral(SOURCE_DIR "/data/") + te, mine + "Mine.TPL");
  QFile::copy(QStringLiteral(SOURCE_DIR "/data/") + te, mine + te);
  QProcess vrdtool;
  vrdtool.setProcessEnvironment(env);
  vrdtool.start(prefix.filePath("bin/vrdtool"), {"templates"});
  ASSERT_TRUE(vrdtool.waitForFinished(10000));
  const QStringList listed = QString::fromUtf8(vrdtool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(listed.size(), 10) << listed.join('\n').toStdString();
  EXPECT_TRUE(listed[0].startsWith("Mine\t"));
  const QString installedTe = prefix.filePath("share/labelkobo/templates/") + te;
  EXPECT_TRUE(listed[1].endsWith("\tused, hides " + installedTe)) << listed[1].toStdString();
  EXPECT_EQ(listed.filter("hidden by " + mine + te).size(), 1);

  RunningProgram program(prefix.filePath("bin/labelkobo"), {prefix.filePath("share/labelkobo/samples/sample.VRD")}, env);
  ASSERT_TRUE(program.Runs());
  QTest::qWait(500);
  EXPECT_EQ(program.Terminate(), 0);
  EXPECT_TRUE(QFile::exists(home.filePath(".config/labelkobo/VRD6S.ini")));
  EXPECT_EQ(listing(), before);
}
