#include "base/IniFile.h"

#include "base/LineIO.h"
#include "base/Numbers.h"
#include "base/ShiftJis.h"

namespace {

bool IsSectionLine(const QByteArray& trimmed) {
  return trimmed.startsWith('[') && trimmed.contains(']');
}

QByteArray SectionName(const QByteArray& trimmed) {
  return trimmed.mid(1, trimmed.indexOf(']') - 1).trimmed();
}

bool SameName(const QByteArray& a, const QByteArray& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

IniFile::IniFile(const QString& path) : path_(path) {
  ReadLinesFile(path_, &lines_);  // a missing or unreadable file reads as empty
}

qsizetype IniFile::FindSection(const QByteArray& section) const {
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    QByteArray t = lines_[i].trimmed();
    if (IsSectionLine(t) && SameName(SectionName(t), section)) return i;
  }
  return -1;
}

qsizetype IniFile::FindKey(qsizetype header, const QByteArray& key) const {
  for (qsizetype i = header + 1; i < lines_.size(); ++i) {
    QByteArray t = lines_[i].trimmed();
    if (IsSectionLine(t)) break;
    qsizetype eq = t.indexOf('=');
    if (eq > 0 && SameName(t.left(eq).trimmed(), key)) return i;
  }
  return -1;
}

qsizetype IniFile::SectionEnd(qsizetype header) const {
  qsizetype end = header + 1;
  for (qsizetype i = header + 1; i < lines_.size(); ++i) {
    QByteArray t = lines_[i].trimmed();
    if (IsSectionLine(t)) break;
    if (!t.isEmpty()) end = i + 1;
  }
  return end;
}

std::optional<QByteArray> IniFile::RawValue(const QString& section, const QString& key) const {
  qsizetype header = FindSection(sjis::Encode(section));
  if (header < 0) return std::nullopt;
  qsizetype at = FindKey(header, sjis::Encode(key));
  if (at < 0) return std::nullopt;
  return lines_.at(at);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int fallback) const {
  const std::optional<QByteArray> line = RawValue(section, key);
  if (!line) return fallback;
  return ParseIntOr(line->mid(line->indexOf('=') + 1).trimmed(), fallback);
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& fallback) const {
  const std::optional<QByteArray> line = RawValue(section, key);
  if (!line) return fallback;
  return sjis::Decode(line->mid(line->indexOf('=') + 1).trimmed());
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteRaw(section, key, QByteArray::number(value));
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  WriteRaw(section, key, sjis::Encode(value));
}

void IniFile::DeleteKey(const QString& section, const QString& key) {
  const qsizetype header = FindSection(sjis::Encode(section));
  if (header < 0) return;
  const qsizetype at = FindKey(header, sjis::Encode(key));
  if (at < 0) return;
  lines_.remove(at);
  lastWriteOk_ = WriteLinesFile(path_, lines_, /*directFallback=*/true);
}

void IniFile::WriteRaw(const QString& section, const QString& key, const QByteArray& value) {
  if (value.contains('\r') || value.contains('\n')) {
    lastWriteOk_ = false;
    return;
  }
  const QByteArray sectionName = sjis::Encode(section);
  const QByteArray keyName = sjis::Encode(key);
  const QByteArray line = keyName + '=' + value;
  qsizetype header = FindSection(sectionName);
  if (header < 0) {
    if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty()) lines_.append(QByteArray());
    lines_.append('[' + sectionName + ']');
    lines_.append(line);
  } else if (qsizetype at = FindKey(header, keyName); at >= 0) {
    lines_.replace(at, line);
  } else {
    lines_.insert(SectionEnd(header), line);
  }
  lastWriteOk_ = WriteLinesFile(path_, lines_, /*directFallback=*/true);
}
