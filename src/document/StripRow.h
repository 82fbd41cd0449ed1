#pragma once
// One row of the strip list: the header of the strip with the same number.

#include <QByteArray>
#include <QStringList>

struct StripRow {
  int number = 0;  // the strip number (1-based)
  QByteArray series;      // column 0, strip line 4
  QByteArray stripType;   // column 1, strip line 5
  QByteArray extension;   // column 2, strip line 0
  QByteArray department;  // column 3, strip line 1
  QByteArray userName;    // column 4, strip line 2
  QByteArray registered;  // column 5, strip line 3
  static constexpr int kColumnCount = 6;
  QStringList Columns() const;  // decoded column texts
};
