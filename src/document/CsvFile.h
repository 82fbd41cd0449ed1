#pragma once
// CSV files as spreadsheets write and read them (RFC 4180: fields quoted
// where they hold a comma, a quote or a line break, quotes doubled), parsed
// and quoted by libcsv. A file is in UTF-8 when it starts with a byte order
// mark or is valid UTF-8 holding a byte above 0x7F; any other file is
// Shift_JIS (CP932), which a Japanese spreadsheet writes by default.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

enum class CsvEncoding { kShiftJis, kUtf8 };

CsvEncoding DetectCsvEncoding(const QByteArray& bytes);

// The message for a file that is not a CSV file the program reads, judged
// by its bytes (a zip workbook, UTF-16, EUC-JP), or an empty text.
QString CsvKindProblem(const QByteArray& bytes);

// Where a file breaks the CSV form: its row as a spreadsheet counts it
// (see CsvTable::rowNumbers) and 1-based column, and why.
struct CsvSyntaxError {
  int row = 0;
  int column = 0;
  QString reason;
};

struct CsvTable {
  CsvEncoding encoding = CsvEncoding::kShiftJis;
  // Every row as read, the first row first; fields keep their spaces.
  // Empty lines give no row.
  QList<QStringList> rows;
  // The row number a spreadsheet shows for each of `rows`: every physical
  // line counts, empty ones included, except the line breaks inside a
  // quoted cell (the cell's row is one row of the sheet).
  QList<int> rowNumbers;
  // The rows before a syntax error are kept.
  std::optional<CsvSyntaxError> error;
  // When the file is no CSV file at all, or one in a form the program does
  // not read (a workbook, UTF-16, EUC-JP, other separators): what it is and
  // how to save a CSV file from it. The table then has no rows.
  QString wrongKind;
};

// Reads a CSV file's bytes: the encoding detected, a byte order mark
// dropped, rows ended by CR LF, LF or CR, a quoted field across line
// breaks. Bytes that are no character of the encoding read as U+FFFD.
// A file of a kind named at CsvTable::wrongKind is not parsed.
CsvTable ReadCsv(const QByteArray& bytes);

// Rows of fields (Shift_JIS bytes) as a CSV file: fields joined by commas,
// each row ended by CR LF, a field quoted when it holds a comma, a quote or
// a line break or begins or ends with a space or tab. kUtf8 writes the same
// text in UTF-8 behind a byte order mark.
QByteArray WriteCsv(const QList<QList<QByteArray>>& rows, CsvEncoding encoding);
