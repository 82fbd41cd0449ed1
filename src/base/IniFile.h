#pragma once
// A Windows INI file in Shift_JIS: "[Section]" lines each followed by
// "Key=Value" lines. Section and key names match without regard to case.
// Every write goes to disk at once; the first write creates a missing file;
// every other line of the file is kept as it was. A write that fails is
// silent: settings are optional. A value holding a line break is not
// written, as it would end its line and start lines of its own.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "base/Lines.h"

class IniFile {
 public:
  explicit IniFile(const QString& path);

  const QString& Path() const { return path_; }

  // The key's value when it is a decimal integer, else `fallback`.
  int ReadInteger(const QString& section, const QString& key, int fallback) const;
  void WriteInteger(const QString& section, const QString& key, int value);
  QString ReadString(const QString& section, const QString& key, const QString& fallback) const;
  void WriteString(const QString& section, const QString& key, const QString& value);
  // Removes the key's line; nothing is written when the key is not there.
  void DeleteKey(const QString& section, const QString& key);

  // True when the last write reached the disk.
  bool LastWriteOk() const { return lastWriteOk_; }

 private:
  // Index of the section's header line, or -1.
  qsizetype FindSection(const QByteArray& section) const;
  // Index of the key's line within the section starting at `header`, or -1.
  qsizetype FindKey(qsizetype header, const QByteArray& key) const;
  // First line after the section's last non-blank line.
  qsizetype SectionEnd(qsizetype header) const;
  std::optional<QByteArray> RawValue(const QString& section, const QString& key) const;
  void WriteRaw(const QString& section, const QString& key, const QByteArray& value);

  QString path_;
  Lines lines_;
  bool lastWriteOk_ = true;
};
