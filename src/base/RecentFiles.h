#pragma once
// The data files opened or saved last, most recent first, at most eight.
// They are kept in a section of their own in the settings file
// ("[RecentFiles]", keys File1 to File8), written with the window's other
// settings at the end of a run and only when the list changed, so that
// every other key and byte of the file stays as the program writes it.

#include <QString>
#include <QStringList>

class IniFile;

class RecentFiles {
 public:
  static constexpr int kMaxFiles = 8;

  // Reads the list from the settings file: empty entries and repeats left out.
  explicit RecentFiles(IniFile& ini);

  const QStringList& Files() const { return files_; }
  // Puts `path` (made absolute) first; an older entry of it goes.
  void Add(const QString& path);
  void Remove(const QString& path);
  // Writes the list when it differs from what was read.
  void Save();

  // A path as its key holds it: as it is when the settings file gives it
  // back exactly (Shift_JIS text on one line), else as a file URL whose
  // path is the file system's bytes, percent-encoded. A path kept is
  // absolute and starts with "/", so no path reads as such a URL.
  static QString StoredForm(const QString& path);
  // The path a key holds; empty for a value that is neither form.
  static QString PathOf(const QString& stored);

 private:
  IniFile& ini_;
  QStringList read_;
  QStringList files_;
};
