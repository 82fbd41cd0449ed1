#pragma once
// The settings object shared by every window: where the program keeps its
// files, and the settings file VRD6S.ini.

#include <QString>
#include <QStringList>
#include <memory>

#include "base/FileLocations.h"
#include "base/IniFile.h"

class TSettings {
 public:
  // The running program's locations: its program folder, or the user's
  // folders when it is installed.
  TSettings();
  // A given program folder (tests, tools).
  explicit TSettings(const QString& programFolder);
  explicit TSettings(const FileLocations& locations);

  const FileLocations& Locations() const { return locations_; }
  // The folder of the settings and key-label files, ending with a
  // separator: the program folder, or an installed program's settings
  // folder. Append a plain file name.
  const QString& ProgramFolder() const { return locations_.SettingsFolder(); }
  QString InProgramFolder(const QString& fileName) const { return ProgramFolder() + fileName; }

  IniFile& Ini() { return *ini_; }
  int ReadInteger(const QString& section, const QString& key, int fallback) const {
    return ini_->ReadInteger(section, key, fallback);
  }
  void WriteInteger(const QString& section, const QString& key, int value) {
    ini_->WriteInteger(section, key, value);
  }
  QString ReadString(const QString& section, const QString& key, const QString& fallback) const {
    return ini_->ReadString(section, key, fallback);
  }
  void WriteString(const QString& section, const QString& key, const QString& value) {
    ini_->WriteString(section, key, value);
  }

  // The printer now selected in the print system.
  QString CurrentPrinterName() const;

 private:
  FileLocations locations_;
  std::unique_ptr<IniFile> ini_;
};

// Registers the installed IPA fonts as stand-ins for the MS font names that
// the data files name, so that texts keep their intended look.
void RegisterFontSubstitutes();
// The font names RegisterFontSubstitutes gives stand-ins, in the order the
// font list shows them.
const QStringList& SubstitutedFontNames();
// The name a family is written under in the data: a stand-in (IPAGothic)
// under the name it stands in for (ＭＳ ゴシック), any other as it is.
QString DataFontName(const QString& family);
// The name a family chosen in the font dialog is written under: the name
// the key holds when the choice is the family the dialog showed for it (a
// font held under a stand-in's name shows under its installed name), else
// DataFontName of the choice.
QString ChosenFontName(const QString& chosen, const QString& shown, const QString& held);
