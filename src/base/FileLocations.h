#pragma once
// Where the program keeps its files: the settings file, the key-label
// files, the templates and the recovery copies. Two layouts exist.
//
// The program folder: wherever templates lie beside the executable (the
// build folder, a copied folder), or no installed tree surrounds it, every
// file lives in the executable's folder, as it always has.
//
// Installed: the executable lies in PREFIX/bin with PREFIX/share/labelkobo
// beside it. The program never writes into its prefix: settings and
// key-label files live in $XDG_CONFIG_HOME/labelkobo, and templates are
// read from $XDG_DATA_HOME/labelkobo/templates first, then from
// PREFIX/share/labelkobo/templates. The layout decides, never a test of
// whether a folder is writable (as root every folder is).
//
// This is the one place that computes these paths.

#include <QString>
#include <QStringList>

// A template file: its name ends in ".tpl" in any case.
bool IsTemplateFileName(const QString& fileName);

class FileLocations {
 public:
  // Everything in one folder, the program folder.
  explicit FileLocations(const QString& programFolder);

  // The locations of an executable in `executableFolder`, with the user's
  // XDG config and data homes (~/.config and ~/.local/share by default).
  static FileLocations ForExecutable(const QString& executableFolder, const QString& configHome,
                                     const QString& dataHome);
  // The running program's.
  static FileLocations ForThisProgram();

  bool IsInstalled() const { return installed_; }
  // The folder of the settings file and the key-label files, ending with a
  // separator. For the program folder layout it is the program folder.
  const QString& SettingsFolder() const { return settingsFolder_; }
  QString SettingsFile() const;
  const QString& KeyLabelFolder() const { return settingsFolder_; }
  // Where templates are looked for, the first folder winning.
  const QStringList& TemplateFolders() const { return templateFolders_; }
  // Where the user's own templates are written (made, saved, imported): the
  // first template folder. In the program folder layout that is the program
  // folder, which holds the shipped templates too.
  const QString& UserTemplateFolder() const { return templateFolders_.first(); }
  // True for a template file that came with the program, which is never
  // written over or deleted: any file of the installed templates folder, or,
  // in the program folder layout, a file there of a shipped name.
  bool IsShippedTemplate(const QString& path) const;
  // The names of the templates shipped in data/.
  static const QStringList& ShippedTemplateNames();
  // Where copies of unsaved changes are kept: beside the settings file.
  QString RecoveryFolder() const;

  // Makes the settings folder of an installed program, which a fresh home
  // does not have yet. The program folder is never created.
  void MakeSettingsFolder() const;

  static constexpr const char* kSettingsFileName = "VRD6S.ini";

 private:
  FileLocations() = default;

  bool installed_ = false;
  QString settingsFolder_;
  QStringList templateFolders_;
};
