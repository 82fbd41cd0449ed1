#include "base/LineIO.h"

#include <QFile>
#include <QSaveFile>

Lines SplitLines(const QByteArray& bytes) {
  Lines lines;
  qsizetype end = bytes.indexOf('\0');
  if (end < 0) end = bytes.size();
  const char* p = bytes.constData();
  qsizetype start = 0;
  qsizetype i = 0;
  while (i < end) {
    char c = p[i];
    if (c == '\r' || c == '\n') {
      lines.append(QByteArray(p + start, i - start));
      i += (c == '\r' && i + 1 < end && p[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < end) lines.append(QByteArray(p + start, end - start));
  return lines;
}

QByteArray JoinLines(const Lines& lines) {
  qsizetype size = 0;
  for (const QByteArray& line : lines) size += line.size() + 2;
  QByteArray out;
  out.reserve(size);
  for (const QByteArray& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

bool ReadFileBytes(const QString& path, QByteArray* bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  *bytes = file.readAll();
  return file.error() == QFile::NoError;
}

bool ReadLinesFile(const QString& path, Lines* lines) {
  QByteArray bytes;
  if (!ReadFileBytes(path, &bytes)) return false;
  *lines = SplitLines(bytes);
  return true;
}

bool WriteFileSafely(const QString& path, const QByteArray& bytes, bool directFallback) {
  QSaveFile file(path);
  file.setDirectWriteFallback(directFallback);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool WriteLinesFile(const QString& path, const Lines& lines, bool directFallback) {
  return WriteFileSafely(path, JoinLines(lines), directFallback);
}
