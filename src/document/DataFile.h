#pragma once
// The strip data file (*.VRD): the strip document written line by line in
// Shift_JIS with CR LF. Files of the earlier layout (no format version line,
// key blocks of 25 fixed lines) are converted when they are read.

#include <QByteArray>
#include <QList>
#include <QString>

#include "base/FileStamp.h"
#include "document/CheckedRead.h"

// True when line 0 holds the format version mark anywhere; any other list,
// the empty one included, is in the old layout.
bool IsCurrentLayout(const Lines& lines);

// The old layout turned into the current one: seven empty lines after line
// 24 of every key block and the format version line on top. DocumentError
// (with the line of `old`) when a count is not a number or the walk runs
// past the end. `inserted`, when given, receives the indexes in the result
// of every line the conversion added, in ascending order.
Lines ConvertedFromOldLayout(const Lines& old, QList<qsizetype>* inserted = nullptr);
// The same in place; false, with the lines left as they were, on a
// malformed list.
bool ConvertOldLayout(Lines& lines);

struct DataFileContent {
  enum class Status { kOk, kReadError, kFormatError };
  Status status = Status::kOk;
  // The document as the program holds it (current layout); empty unless kOk.
  Lines lines;
  bool wasOldLayout = false;
  // kFormatError: 0-based line of the file and what it should have held.
  qsizetype errorLine = -1;
  QString expected;
  // Lines the conversion added (document indexes, ascending).
  QList<qsizetype> insertedLines;

  bool ok() const { return status == Status::kOk; }
  // The 0-based line of the file that a document line came from (for a line
  // the conversion added: the file line it was inserted before).
  qsizetype FileLineOf(qsizetype documentLine) const;
};

// The bytes of a data file as a document: split into lines, converted from
// the old layout when line 0 lacks the version mark, and the strip count of
// line 1 (when there is one) checked. An empty file is a format error.
// The lines share the bytes' buffer (SplitLinesSharing).
DataFileContent ParseDataFile(QByteArray bytes);
// Reads and parses a file; kReadError when it cannot be read completely.
// `read`, when given, receives the stamp of the bytes read.
DataFileContent ReadDataFile(const QString& path, FileStamp* read = nullptr);

// Writes the document through a temporary file renamed over the target, so
// a failed save never leaves a half-written file. False on any failure.
// `written`, when given, receives the status of the file written, without
// a hash (0): the caller has the bytes, should they be needed.
bool WriteDataFile(const QString& path, const Lines& lines, FileStamp* written = nullptr);
