#pragma once
// One row of the strip list: the six header lines of a strip, in the order
// of the list's columns.

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <array>

#include "document/CheckedRead.h"

class StripDocument;

struct StripRow {
  int number = 0;  // the strip number (1-based)
  // Header lines as stored (Shift_JIS), in column order.
  QByteArray series;      // column 0, strip line 4
  QByteArray stripType;   // column 1, strip line 5
  QByteArray extension;   // column 2, strip line 0
  QByteArray department;  // column 3, strip line 1
  QByteArray userName;    // column 4, strip line 2
  QByteArray registered;  // column 5, strip line 3

  static constexpr int kColumnCount = 6;
  // The header lines in column order, column 0 first.
  std::array<QByteArray*, kColumnCount> Fields() {
    return {&series, &stripType, &extension, &department, &userName, &registered};
  }
  std::array<const QByteArray*, kColumnCount> Fields() const {
    return {&series, &stripType, &extension, &department, &userName, &registered};
  }
  // The column texts decoded, column 0 first.
  QStringList Columns() const;
};

// The row of strip `number`, whose separator line is at `separatorLine`. A
// header cut short by the end of the document gives empty texts.
StripRow ReadStripRow(const Lines& lines, qsizetype separatorLine, int number);

// One row per strip n = 1 ... the strip count of line 1 that has a strip
// separator (StripDocument::StripSeparators); strips without one get no
// row. Linear in the separators present, whatever line 1 claims.
// DocumentError when line 1 is not a count.
QList<StripRow> StripRowsOf(const StripDocument& document);
