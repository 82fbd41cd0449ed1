#pragma once
// The key-label files VRDKey1.ini ... VRDKey7.ini: a series' palette list,
// one list line per file line, Shift_JIS, every line ended by CR LF. Despite
// the name they have no sections and no keys.

#include <QString>

#include "document/CheckedRead.h"

// Full path of the series' key-label file in `folder`; empty for a number
// that is no series.
QString KeyLabelFilePath(int series, const QString& folder);

enum class LabelSource {
  File,      // the file's lines were taken
  Defaults,  // the file was missing, unreadable or malformed
  Unchanged  // the number is no series; the list was left alone
};

// Replaces the palette list with the series' key-label file from `folder`.
// A file that cannot be read or is not a well-formed list for the series
// gives the built-in defaults instead, without a message and without
// writing anything.
LabelSource Myfunc_Load_Label(int series, const QString& folder, Lines* list);

// Writes the palette list as the series' key-label file in `folder`,
// replacing it whole through a temporary file. False when nothing could be
// written (or the number is no series); the old file then stays as it was.
bool WriteKeyLabelFile(int series, const QString& folder, const Lines& list);
