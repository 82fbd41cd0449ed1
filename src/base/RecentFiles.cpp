#include "base/RecentFiles.h"

#include <QFileInfo>

#include "base/IniFile.h"
#include "base/ShiftJis.h"

namespace {

const QString kSection = QStringLiteral("RecentFiles");

QString KeyOf(int i) { return QStringLiteral("File%1").arg(i + 1); }

}  // namespace

RecentFiles::RecentFiles(IniFile& ini) : ini_(ini) {
  for (int i = 0; i < kMaxFiles; ++i) {
    const QString path = ini_.ReadString(kSection, KeyOf(i), QString());
    if (!path.isEmpty() && !read_.contains(path)) read_.append(path);
  }
  files_ = read_;
}

bool RecentFiles::CanKeep(const QString& path) {
  if (path.isEmpty() || path.contains('\r') || path.contains('\n') || path.trimmed() != path) return false;
  return sjis::Decode(sjis::Encode(path)) == path;
}

void RecentFiles::Add(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (!CanKeep(absolute)) return;
  files_.removeAll(absolute);
  files_.prepend(absolute);
  files_ = files_.mid(0, kMaxFiles);
}

void RecentFiles::Remove(const QString& path) { files_.removeAll(path); }

void RecentFiles::Save() {
  if (files_ == read_) return;
  for (int i = 0; i < kMaxFiles; ++i) {
    if (i < files_.size()) {
      ini_.WriteString(kSection, KeyOf(i), files_[i]);
    } else {
      ini_.DeleteKey(kSection, KeyOf(i));
    }
  }
  read_ = files_;
}
