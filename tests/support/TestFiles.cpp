#include "support/TestFiles.h"

#include <QFile>
#include <gtest/gtest.h>

#include "base/ShiftJis.h"

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

QByteArray Sj(const char* utf8) { return sjis::Encode(QString::fromUtf8(utf8)); }
