#pragma once
// Text files as lists of byte lines. A line ends at CR LF, a lone CR or a
// lone LF; a final line end starts no extra line; a byte 00 ends the text.
// Written files end every line with CR LF.

#include <QByteArray>
#include <QList>
#include <QString>

using Lines = QList<QByteArray>;

Lines SplitLines(const QByteArray& bytes);
QByteArray JoinLines(const Lines& lines);

// Reads a whole file; false when it cannot be opened or read.
bool ReadFileBytes(const QString& path, QByteArray* bytes);
bool ReadLinesFile(const QString& path, Lines* lines);

// Writes to a temporary file beside the target and renames it over the
// target, so the target is never left half written. False on any failure.
// With `directFallback`, a folder that allows no new file (a read-only
// program folder) falls back to writing the existing file in place.
bool WriteFileSafely(const QString& path, const QByteArray& bytes, bool directFallback = false);
bool WriteLinesFile(const QString& path, const Lines& lines, bool directFallback = false);
