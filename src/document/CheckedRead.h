#pragma once
// Reads of lines that must exist and hold numbers. Every reader of strip
// documents, templates and key-label lists goes through these, so a damaged
// file raises DocumentError instead of reading out of bounds.

#include <QByteArray>
#include <QList>

#include "base/Decimal4.h"
#include "document/DocumentError.h"

#include "base/Lines.h"

// The line at index i; DocumentError when the list has no such line.
QByteArray LineAt(const Lines& lines, qsizetype i);
// As LineAt, without a copy: valid while the list stays unchanged.
QByteArrayView LineViewAt(const Lines& lines, qsizetype i);
// A decimal integer, optionally signed.
int ReadInt(const Lines& lines, qsizetype i);
// A count: an integer of 0 or more.
int ReadCount(const Lines& lines, qsizetype i);
// A millimetre value with up to four decimals.
Decimal4 ReadDecimal(const Lines& lines, qsizetype i);
