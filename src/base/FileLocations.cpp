#include "base/FileLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kProgramName = QStringLiteral("labelkobo");

QString WithSeparator(const QString& folder) {
  QString clean = QDir::cleanPath(folder);
  if (!clean.endsWith('/')) clean += '/';
  return clean;
}

bool HasTemplates(const QString& folder) {
  for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
    if (IsTemplateFileName(file.fileName())) return true;
  }
  return false;
}

// PREFIX/share/labelkobo for an executable in PREFIX/bin, when it exists.
QString InstalledShareFolder(const QString& executableFolder) {
  const QString share = QDir::cleanPath(executableFolder + QStringLiteral("/../share/") + kProgramName);
  return QFileInfo(share + QStringLiteral("/templates")).isDir() ? share : QString();
}

}  // namespace

bool IsTemplateFileName(const QString& fileName) {
  return fileName.endsWith(QStringLiteral(".tpl"), Qt::CaseInsensitive);
}

FileLocations::FileLocations(const QString& programFolder)
    : settingsFolder_(WithSeparator(programFolder)), templateFolders_{settingsFolder_} {}

FileLocations FileLocations::ForExecutable(const QString& executableFolder, const QString& configHome,
                                           const QString& dataHome) {
  const QString share = InstalledShareFolder(executableFolder);
  if (share.isEmpty() || HasTemplates(executableFolder)) return FileLocations(executableFolder);
  FileLocations installed;
  installed.installed_ = true;
  installed.settingsFolder_ = WithSeparator(configHome + '/' + kProgramName);
  installed.templateFolders_ = {WithSeparator(dataHome + '/' + kProgramName + QStringLiteral("/templates")),
                                WithSeparator(share + QStringLiteral("/templates"))};
  return installed;
}

FileLocations FileLocations::ForThisProgram() {
  return ForExecutable(QCoreApplication::applicationDirPath(),
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                       QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

const QStringList& FileLocations::ShippedTemplateNames() {
  static const QStringList names = {
      QStringLiteral("標準Ｋａ24ボタン.TPL"),  QStringLiteral("Ｋａ拡張48ボタン.TPL"),
      QStringLiteral("Ｍｏ多機能18ボタン.TPL"), QStringLiteral("Ｎｅ標準24ボタン.TPL"),
      QStringLiteral("Ｒｕ36ボタン.TPL"),       QStringLiteral("Ｒｕ・Ｈｏ共用30ボタン.TPL"),
      QStringLiteral("ＳＩＰ電話機12ボタン.TPL"), QStringLiteral("Ｔｅ24ボタン.TPL"),
  };
  return names;
}

bool FileLocations::IsShippedTemplate(const QString& path) const {
  const QFileInfo file(path);
  const QString folder = WithSeparator(file.absolutePath());
  if (folder != WithSeparator(QFileInfo(templateFolders_.last()).absoluteFilePath())) return false;
  return installed_ || ShippedTemplateNames().contains(file.fileName(), Qt::CaseInsensitive);
}

QString FileLocations::SettingsFile() const { return settingsFolder_ + kSettingsFileName; }

QString FileLocations::RecoveryFolder() const { return settingsFolder_ + QStringLiteral("recovery/"); }

void FileLocations::MakeSettingsFolder() const {
  if (installed_) QDir().mkpath(settingsFolder_);
}
