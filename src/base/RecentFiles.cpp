#include "base/RecentFiles.h"

#include <QFileInfo>

#include "base/IniFile.h"
#include "base/ShiftJis.h"

namespace {

const QString kSection = QStringLiteral("RecentFiles");

QString KeyOf(int i) { return QStringLiteral("File%1").arg(i + 1); }

}  // namespace

QStringList RecentFiles::Files() const {
  QStringList files;
  for (int i = 0; i < kMaxFiles; ++i) {
    const QString path = ini_.ReadString(kSection, KeyOf(i), QString());
    if (!path.isEmpty() && !files.contains(path)) files.append(path);
  }
  return files;
}

bool RecentFiles::CanKeep(const QString& path) {
  if (path.isEmpty() || path.contains('\r') || path.contains('\n') || path.trimmed() != path) return false;
  return sjis::Decode(sjis::Encode(path)) == path;
}

void RecentFiles::Add(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (!CanKeep(absolute)) return;
  QStringList files = Files();
  files.removeAll(absolute);
  files.prepend(absolute);
  Write(files.mid(0, kMaxFiles));
}

void RecentFiles::Remove(const QString& path) {
  QStringList files = Files();
  if (files.removeAll(path) == 0) return;
  Write(files);
}

void RecentFiles::Write(const QStringList& files) {
  for (int i = 0; i < kMaxFiles; ++i) {
    if (i < files.size()) {
      if (ini_.ReadString(kSection, KeyOf(i), QString()) != files[i]) ini_.WriteString(kSection, KeyOf(i), files[i]);
    } else {
      ini_.DeleteKey(kSection, KeyOf(i));
    }
  }
}
