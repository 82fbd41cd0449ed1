#pragma once
// Small helpers for tests that work with files.

#include <QByteArray>
#include <QString>

// Writes bytes to a file; fails the test on error.
void WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);
// Text in UTF-8 source form to Shift_JIS bytes.
QByteArray Sj(const char* utf8);
