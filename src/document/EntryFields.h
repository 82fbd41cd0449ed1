#pragma once
// The rules by which the strip entry dialog takes a strip's header fields
// (extension number, department, user name), as plain functions so that
// other ways of entering strips (a CSV import) follow the same rules.

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Removes leading and trailing characters up to and including the ASCII
// space (control characters and spaces); a full-width space stays.
QString TrimEntryText(const QString& text);

// A header field as OK stores it: while the text still reads as the bytes it
// was loaded with, those bytes as they were (a Shift_JIS text need not
// survive decoding and encoding); otherwise the trimmed text, encoded once.
// Header fields have no length limit of their own.
QByteArray EntryFieldBytes(const QString& shown, const QByteArray& loaded);

// Why a trimmed header text cannot be stored as it is, or an empty text
// when it can: a header line holds no control character (a line end would
// split it, a byte 00 would end the file when it is read) and only
// characters that Shift_JIS (CP932) has.
QString EntryFieldProblem(const QString& trimmed);

// The registration date of a strip: "yyyy/mm/dd hh:nn", 24-hour clock.
QByteArray RegistrationDate(const QDateTime& time);
