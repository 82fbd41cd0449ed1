#include "base/RecentFiles.h"

#include <QFile>
#include <QFileInfo>

#include "base/IniFile.h"
#include "base/ShiftJis.h"

namespace {

const QString kSection = QStringLiteral("RecentFiles");
const QString kUrlStart = QStringLiteral("file://");

QString KeyOf(int i) { return QStringLiteral("File%1").arg(i + 1); }

}  // namespace

RecentFiles::RecentFiles(IniFile& ini) : ini_(ini) {
  for (int i = 0; i < kMaxFiles; ++i) {
    const QString path = PathOf(ini_.ReadString(kSection, KeyOf(i), QString()));
    if (!path.isEmpty() && !read_.contains(path)) read_.append(path);
  }
  files_ = read_;
}

QString RecentFiles::StoredForm(const QString& path) {
  const bool plain = !path.contains('\r') && !path.contains('\n') && path.trimmed() == path &&
                     sjis::Decode(sjis::Encode(path)) == path;
  if (plain) return path;
  return kUrlStart + QString::fromLatin1(QFile::encodeName(path).toPercentEncoding("/"));
}

QString RecentFiles::PathOf(const QString& stored) {
  if (stored.startsWith('/')) return stored;
  if (!stored.startsWith(kUrlStart)) return {};
  const QString path = QFile::decodeName(QByteArray::fromPercentEncoding(stored.mid(kUrlStart.size()).toLatin1()));
  return path.startsWith('/') ? path : QString();
}

void RecentFiles::Add(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  files_.removeAll(absolute);
  files_.prepend(absolute);
  files_ = files_.mid(0, kMaxFiles);
}

void RecentFiles::Remove(const QString& path) { files_.removeAll(path); }

void RecentFiles::Save() {
  if (files_ == read_) return;
  for (int i = 0; i < kMaxFiles; ++i) {
    if (i < files_.size()) {
      ini_.WriteString(kSection, KeyOf(i), StoredForm(files_[i]));
    } else {
      ini_.DeleteKey(kSection, KeyOf(i));
    }
  }
  read_ = files_;
}
