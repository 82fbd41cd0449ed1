#pragma once
// The data files opened or saved last, most recent first, at most eight.
// They are kept in a section of their own in the settings file
// ("[RecentFiles]", keys File1 to File8), so that every other key of the
// file stays as it is; the section is written only once a file was used.

#include <QString>
#include <QStringList>

class IniFile;

class RecentFiles {
 public:
  static constexpr int kMaxFiles = 8;

  explicit RecentFiles(IniFile& ini) : ini_(ini) {}

  // The list as the settings file holds it: empty entries and repeats left out.
  QStringList Files() const;
  // Puts `path` (made absolute) first; an older entry of it goes. A path the
  // settings file cannot hold exactly (a character Shift_JIS lacks, a line
  // break, spaces at an end) is not kept.
  void Add(const QString& path);
  void Remove(const QString& path);

  // True when the settings file gives `path` back exactly as it was.
  static bool CanKeep(const QString& path);

 private:
  void Write(const QStringList& files);

  IniFile& ini_;
};
