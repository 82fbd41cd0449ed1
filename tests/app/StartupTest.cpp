// Start-up and shutdown: one instance at a time, the settings file written
// with every key, wrong values read as defaults, failed writes tolerated.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <climits>
#include <csignal>
#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/Main.h"
#include "app/SingleInstance.h"
#include "app/Version.h"
#include "base/IniFile.h"
#include "document/DocumentError.h"
#include "support/FakePrompts.h"
#include "base/Placement.h"
#include "support/TestFiles.h"

namespace {

// Runs the whole program in this process with the given program folder and
// closes it as soon as its event loop runs.
int RunAndClose(const QString& folder) {
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* main = qobject_cast<TFMain*>(w)) main->close();
    }
  });
  return RunProgram(*qApp, folder);
}

// Every key of the settings file with its section.
const QList<QPair<QString, QString>> kAllKeys = {
    {"Position", "MainWState"},    {"Position", "TelListHeight"}, {"Position", "TelList0"},
    {"Position", "TelList1"},      {"Position", "TelList2"},      {"Position", "TelList3"},
    {"Position", "TelList4"},      {"Position", "TelList5"},      {"Position", "TelAddTop"},
    {"Position", "TelAddLeft"},    {"Position", "KeyLabelTop"},   {"Position", "KeyLabelLeft"},
    {"Position", "AdjustTop"},     {"Position", "AdjustLeft"},    {"Position", "ListTop"},
    {"Position", "ListLeft"},      {"Position", "ListWidth"},     {"Position", "ListHeight"},
    {"Position", "ListWState"},    {"Position", "CardTop"},       {"Position", "CardLeft"},
    {"Position", "CardWidth"},     {"Position", "CardHeight"},    {"Position", "CardWState"},
    {"Position", "ViewImageLeft"}, {"Position", "ViewImageTop"},  {"Checked", "DispKeyLabel"},
    {"Checked", "DispList"},       {"Checked", "DispToolBar"},    {"Checked", "DispStatusBar"},
    {"Checked", "DispLayout"},     {"Data", "SelSeriesNo"},       {"Data", "PictureFileSizeMax"},
    {"Dir", "OpenPicture"},
};

bool HasKey(const IniFile& ini, const QString& section, const QString& key) {
  return ini.ReadString(section, key, QStringLiteral("\x01missing")) != QStringLiteral("\x01missing");
}

}  // namespace

TEST(Startup, FirstRunWritesEveryKeyWithItsDefault) {
  QTemporaryDir dir;
  ASSERT_EQ(RunAndClose(dir.path()), 0);
  IniFile ini(dir.filePath("VRD6S.ini"));
  for (const auto& [section, key] : kAllKeys) {
    EXPECT_TRUE(HasKey(ini, section, key)) << section.toStdString() << "/" << key.toStdString();
  }
  // Closed maximised: the normal placement is not written.
  EXPECT_EQ(ini.ReadInteger("Position", "MainWState", -1), 2);
  EXPECT_FALSE(HasKey(ini, "Position", "MainTop"));
  EXPECT_EQ(ini.ReadInteger("Position", "TelListHeight", -1), 105);
  const int widths[6] = {120, 280, 120, 160, 120, 120};
  for (int c = 0; c < 6; ++c) {
    EXPECT_EQ(ini.ReadInteger("Position", QStringLiteral("TelList%1").arg(c), -1), widths[c]);
  }
  EXPECT_EQ(ini.ReadInteger("Checked", "DispLayout", -1), 1);
  EXPECT_EQ(ini.ReadInteger("Data", "SelSeriesNo", -1), 0);
  EXPECT_EQ(ini.ReadInteger("Data", "PictureFileSizeMax", -1), 30720);
  EXPECT_EQ(ini.ReadString("Dir", "OpenPicture", ""), QDir(dir.path()).filePath("ロゴ集"));
  EXPECT_EQ(ini.ReadInteger("Position", "TelAddTop", -1), 100);
  EXPECT_EQ(ini.ReadInteger("Position", "ListWidth", -1), 1000);
  EXPECT_EQ(ini.ReadInteger("Position", "CardWidth", -1), 800);
}

TEST(Startup, NormalWindowKeepsItsPlacementAndToggles) {
  QTemporaryDir dir;
  WriteBytes(dir.filePath("VRD6S.ini"),
             "[Position]\r\nMainWState=0\r\nMainTop=30\r\nMainLeft=40\r\nMainWidth=1100\r\n"
             "MainHeight=800\r\n[Checked]\r\nDispList=0\r\nDispLayout=0\r\nDispToolBar=0\r\n"
             "[Data]\r\nSelSeriesNo=4\r\n");
  {
    TFMain main(dir.path());
    EXPECT_EQ(main.width(), 1100);
    EXPECT_EQ(main.height(), 800);
    EXPECT_FALSE(main.Action("ActionListJimeijo")->isChecked());
    EXPECT_FALSE(main.Action("ActionShowToolBar")->isChecked());
    EXPECT_TRUE(main.DetailViewChosen());
    EXPECT_EQ(main.CurrentSeries(), 4);
  }
  IniFile ini(dir.filePath("VRD6S.ini"));
  EXPECT_EQ(ini.ReadInteger("Position", "MainTop", -1), 30);
  EXPECT_EQ(ini.ReadInteger("Position", "MainLeft", -1), 40);
  EXPECT_EQ(ini.ReadInteger("Position", "MainWidth", -1), 1100);
  EXPECT_EQ(ini.ReadInteger("Checked", "DispList", -1), 0);
  EXPECT_EQ(ini.ReadInteger("Checked", "DispToolBar", -1), 0);
  EXPECT_EQ(ini.ReadInteger("Checked", "DispLayout", -1), 0);
  EXPECT_EQ(ini.ReadInteger("Data", "SelSeriesNo", -1), 4);
}

TEST(Startup, WrongValuesReadAsDefaultsAndOtherKeysStay) {
  QTemporaryDir dir;
  WriteBytes(dir.filePath("VRD6S.ini"),
             "[Mine]\r\nNote=keep me\r\n[Data]\r\nSelSeriesNo=9\r\nOwn=1\r\n"
             "[Checked]\r\nDispKeyLabel=yes\r\n[Position]\r\nTelList1=wide\r\n");
  ASSERT_EQ(RunAndClose(dir.path()), 0);
  IniFile ini(dir.filePath("VRD6S.ini"));
  EXPECT_EQ(ini.ReadString("Mine", "Note", ""), QStringLiteral("keep me"));
  EXPECT_EQ(ini.ReadInteger("Data", "Own", -1), 1);
  EXPECT_EQ(ini.ReadInteger("Data", "SelSeriesNo", -1), 0);
  EXPECT_EQ(ini.ReadInteger("Checked", "DispKeyLabel", -1), 1);
  EXPECT_EQ(ini.ReadInteger("Position", "TelList1", -1), 280);
}

TEST(Startup, ExtremePlacementValuesAreHeldToWhatAWindowCanTake) {
  QTemporaryDir dir;
  WriteBytes(dir.filePath("VRD6S.ini"),
             "[Position]\r\nMainWState=0\r\nMainTop=2147483647\r\nMainLeft=-2147483648\r\n"
             "MainWidth=2147483647\r\nMainHeight=-5\r\nTelListHeight=-2147483648\r\n"
             "TelList0=2147483647\r\nTelAddTop=-2147483648\r\n");
  {
    TFMain main(dir.path());
    EXPECT_EQ(main.pos(), QPoint(-QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    EXPECT_LE(main.width(), QWIDGETSIZE_MAX);
    EXPECT_GE(main.height(), 0);
    auto* list = main.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_TRUE(list);
    EXPECT_GE(list->height(), 0);
    EXPECT_GE(list->columnWidth(0), 0);
  }
  // Sane values are applied as read.
  EXPECT_EQ(ClampedPosition(-30), -30);
  EXPECT_EQ(ClampedSize(0), 0);
  EXPECT_EQ(ClampedSize(-1), 0);
  EXPECT_EQ(ClampedSize(1100), 1100);
  EXPECT_EQ(ClampedPosition(INT_MIN), -QWIDGETSIZE_MAX);
  // The whole program starts and ends with them too.
  EXPECT_EQ(RunAndClose(dir.path()), 0);
}

TEST(Startup, UnwritableProgramFolderIsSilent) {
  // Every write fails; the program runs and closes normally.
  EXPECT_EQ(RunAndClose(QStringLiteral("/nonexistent/labelkobo")), 0);
}

TEST(Startup, AnErrorEscapingStartUpIsShownAndThenShutsDown) {
  QTemporaryDir dir;
  FakePrompts prompts;
  const int code = RunProgram(*qApp, dir.path(), [](TFMain&) {
    throw DocumentError(4, QStringLiteral("テスト用の起動エラー"));
  });
  EXPECT_EQ(code, 0);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("テスト用の起動エラー"));
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("エラー"));
  EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
  // Shut down as on close: every window gone, each having written its keys.
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(qobject_cast<TFMain*>(w));
  IniFile ini(dir.filePath("VRD6S.ini"));
  for (const auto& [section, key] : kAllKeys) {
    EXPECT_TRUE(HasKey(ini, section, key)) << section.toStdString() << "/" << key.toStdString();
  }
}

TEST(Startup, ClosingTheMainWindowEndsTheProgramWithTheFindWindowOpen) {
  QTemporaryDir dir;
  bool findShown = false, endedByItself = true;
  QTimer stop;  // ends a program that would not end by itself
  QObject::connect(&stop, &QTimer::timeout, [&] { endedByItself = false, QCoreApplication::quit(); });
  RunProgram(*qApp, dir.path(), [&](TFMain& main) {
    QTimer::singleShot(0, &main, [&] {
      main.ActionEditFindExecute();
      findShown = std::ranges::any_of(QApplication::topLevelWidgets(), [](QWidget* w) {
        return w->objectName() == QStringLiteral("FSearch") && w->isVisible();
      });
      main.close();
    });
    stop.start(5000);
  });
  EXPECT_TRUE(findShown);
  EXPECT_TRUE(endedByItself);
}

TEST(SingleInstance, SecondLockFailsUntilReleased) {
  QTemporaryDir dir;
  const QString path = dir.filePath("VRD5S.exe.lock");
  SingleInstance first(path);
  ASSERT_TRUE(first.TryAcquire());
  SingleInstance second(path);
  EXPECT_FALSE(second.TryAcquire());
  first.Release();
  EXPECT_TRUE(second.TryAcquire());
  second.Release();
}

namespace {

struct ProgramCopy {
  QTemporaryDir dir;
  QTemporaryDir runtime;
  QString program;
  ProgramCopy() {
    program = dir.filePath("labelkobo");
    QFile::copy(QStringLiteral(BUILD_DIR "/labelkobo"), program);
  }
  void Start(QProcess& p) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    p.setProcessEnvironment(env);
    p.start(program, {});
  }
};

}  // namespace

TEST(SingleInstance, RealProgramRefusesASecondStartAndSurvivesAKill) {
  ProgramCopy copy;
  QProcess first;
  copy.Start(first);
  ASSERT_TRUE(first.waitForStarted(5000));
  ASSERT_FALSE(first.waitForFinished(1500)) << "the first instance should keep running";

  QProcess second;
  copy.Start(second);
  ASSERT_TRUE(second.waitForFinished(1000)) << "a second start must end within a second";
  EXPECT_EQ(second.exitCode(), 1);

  ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
  first.waitForFinished(3000);

  QProcess third;
  copy.Start(third);
  ASSERT_TRUE(third.waitForStarted(5000));
  EXPECT_FALSE(third.waitForFinished(1500)) << "a lock left by a killed run must not block";
  third.kill();
  third.waitForFinished(3000);
}

TEST(AboutBox, VersionLineFromTheFileVersion) {
  EXPECT_EQ(VersionLineOf("2.10.5.0"), QStringLiteral("Version 2.105S "));
  EXPECT_EQ(VersionLineOf("1.2.3.4"), QStringLiteral("Version 1.23S "));
  EXPECT_EQ(VersionLineOf(""), QStringLiteral("Version S "));
  TFVersion box;
  box.show();
  EXPECT_EQ(box.size(), QSize(400, 246));
  EXPECT_EQ(box.minimumSize(), box.maximumSize());
  EXPECT_EQ(box.windowTitle(), QStringLiteral("バージョン情報"));
  EXPECT_EQ(TFVersion::DescriptionText().count('\n'), 4);
}
