// Where the program keeps its files, and the recent files in the settings file.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

#include "base/FileLocations.h"
#include "base/IniFile.h"
#include "base/RecentFiles.h"
#include "support/TestFiles.h"

TEST(FileLocations, TheLayoutAroundTheExecutableDecides) {
  struct Case {
    const char* name;
    bool templateBeside;  // a .tpl beside the executable
    bool shareTree;       // ../share/labelkobo/templates
    bool installed;
  };
  const Case cases[] = {
      {"build folder", true, false, false},
      {"copied folder with its templates", true, true, false},
      {"bare copy", false, false, false},
      {"installed", false, true, true},
  };
  for (const Case& c : cases) {
    QTemporaryDir root;
    const QString bin = root.filePath("bin");
    QDir().mkpath(bin);
    if (c.templateBeside) WriteBytes(bin + "/a.Tpl", "x\r\n");
    if (c.shareTree) QDir().mkpath(root.filePath("share/labelkobo/templates"));
    const FileLocations at = FileLocations::ForExecutable(bin, "/home/u/.config", "/home/u/.local/share");
    SCOPED_TRACE(c.name);
    EXPECT_EQ(at.IsInstalled(), c.installed);
    if (c.installed) {
      EXPECT_EQ(at.SettingsFile(), "/home/u/.config/labelkobo/VRD6S.ini");
      EXPECT_EQ(at.KeyLabelFolder(), "/home/u/.config/labelkobo/");
      EXPECT_EQ(at.RecoveryFolder(), "/home/u/.config/labelkobo/recovery/");
      EXPECT_EQ(at.TemplateFolders(),
                (QStringList{"/home/u/.local/share/labelkobo/templates/", root.filePath("share/labelkobo/templates/")}));
      EXPECT_EQ(at.ShippedFolder(), root.filePath("share/labelkobo/"));
    } else {
      EXPECT_TRUE(at.ShippedFolder().isEmpty());
      EXPECT_EQ(at.SettingsFile(), bin + "/VRD6S.ini");
      EXPECT_EQ(at.KeyLabelFolder(), bin + "/");
      EXPECT_EQ(at.RecoveryFolder(), bin + "/recovery/");
      EXPECT_EQ(at.TemplateFolders(), QStringList{bin + "/"});
    }
  }
}

TEST(RecentFiles, MostRecentFirstAtMostEightInASectionOfTheirOwnWrittenLast) {
  QTemporaryDir dir;
  const QByteArray before = "[Position]\r\nMainWState=0\r\n[Mine]\r\nNote=keep\r\n";
  WriteBytes(dir.filePath("VRD6S.ini"), before);
  IniFile ini(dir.filePath("VRD6S.ini"));
  RecentFiles recent(ini);
  for (int i = 1; i <= 10; ++i) recent.Add(QStringLiteral("/site/%1.VRD").arg(i));
  recent.Add("/site/5.VRD");  // again: moves to the front, never twice
  recent.Remove("/site/9.VRD");
  recent.Add(QStringLiteral("/site/営業部.VRD"));
  const QStringList expected = {"/site/営業部.VRD", "/site/5.VRD", "/site/10.VRD", "/site/8.VRD",
                                "/site/7.VRD", "/site/6.VRD", "/site/4.VRD", "/site/3.VRD"};
  EXPECT_EQ(recent.Files(), expected);
  EXPECT_EQ(ReadBytes(dir.filePath("VRD6S.ini")), before);  // nothing written before Save
  recent.Save();
  // Everything the file held stays byte for byte ahead of the new section.
  const QByteArray after = ReadBytes(dir.filePath("VRD6S.ini"));
  EXPECT_TRUE(after.startsWith(before + "\r\n[RecentFiles]\r\nFile1=/site/")) << after.toStdString();
  EXPECT_EQ(after.count("\r\nFile"), 8);
  // Read back by a new run; a shorter list deletes the keys beyond it.
  RecentFiles again(ini);
  EXPECT_EQ(again.Files(), expected);
  for (int i = 0; i < 6; ++i) again.Remove(expected[i]);
  again.Save();
  EXPECT_EQ(RecentFiles(ini).Files(), expected.mid(6));
  EXPECT_EQ(ReadBytes(dir.filePath("VRD6S.ini")).count("\r\nFile"), 2);
}

TEST(RecentFiles, AnyPathIsKeptAndReadBackExactly) {
  // Paths Shift_JIS holds stay as they are; others become file URLs, and a
  // value that is neither an absolute path nor such a URL is no path.
  EXPECT_EQ(RecentFiles::StoredForm("/データ/ｻｲﾄ Ａ.VRD"), "/データ/ｻｲﾄ Ａ.VRD");
  EXPECT_EQ(RecentFiles::StoredForm("/a/Café 100%.VRD"), "file:///a/Caf%C3%A9%20100%25.VRD");
  for (const char* value : {"relative.VRD", "file://relative", "http://x/a.VRD"}) EXPECT_EQ(RecentFiles::PathOf(value), "");
  // Random paths of awkward characters go through the settings file and back.
  QTemporaryDir dir;
  IniFile ini(dir.filePath("VRD6S.ini"));
  const QString pool = QString::fromUtf8("aZ9 -_.%:\\\t\r\nÄéü漢字ｶﾅ＃~[]=;").append(QString::fromUtf8("😀"));
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    RecentFiles recent(ini);
    QStringList paths;
    for (int i = 0; i < RecentFiles::kMaxFiles; ++i) {
      QString path = QStringLiteral("/r%1/").arg(i);
      for (int n = std::uniform_int_distribution(1, 12)(random); n > 0; --n) {
        const int at = std::uniform_int_distribution<int>(0, pool.size() - 2)(random);
        path += pool.at(at).isHighSurrogate() ? pool.mid(at, 2) : QString(pool.at(at));
      }
      recent.Add(path);
      paths.prepend(QFileInfo(path).absoluteFilePath());
    }
    recent.Save();
    ASSERT_EQ(RecentFiles(ini).Files(), paths) << round;
  }
}

TEST(IniFile, AValueWithALineBreakIsNotWrittenAndKeysCanBeDeleted) {
  QTemporaryDir dir;
  const QString path = dir.filePath("VRD6S.ini");
  WriteBytes(path, "[Dir]\r\nOpenPicture=/old\r\nOther=1\r\n");
  IniFile ini(path);
  ini.WriteString("Dir", "OpenPicture", "/new\r\n[Position]\r\nMainWState=1");
  EXPECT_FALSE(ini.LastWriteOk());
  EXPECT_EQ(ReadBytes(path), QByteArray("[Dir]\r\nOpenPicture=/old\r\nOther=1\r\n"));
  ini.DeleteKey("Dir", "OpenPicture");
  ini.DeleteKey("Dir", "Missing");
  ini.DeleteKey("Nowhere", "Other");
  EXPECT_EQ(ReadBytes(path), QByteArray("[Dir]\r\nOther=1\r\n"));
}
