#include "document/StripRow.h"

#include <algorithm>

#include "base/ShiftJis.h"
#include "document/StripDocument.h"

QStringList StripRow::Columns() const {
  QStringList columns;
  columns.reserve(kColumnCount);
  for (const QByteArray* field : Fields()) {
    columns.append(sjis::Decode(*field));
  }
  return columns;
}

StripRow ReadStripRow(const Lines& lines, qsizetype separatorLine, int number) {
  const qsizetype start = separatorLine + 1;
  auto header = [&](int offset) {
    const qsizetype i = start + offset;
    return i >= 0 && i < lines.size() ? lines[i] : QByteArray();
  };
  StripRow row;
  row.number = number;
  row.series = header(layout::kSeriesName);
  row.stripType = header(layout::kStripType);
  row.extension = header(layout::kExtension);
  row.department = header(layout::kDepartment);
  row.userName = header(layout::kUserName);
  row.registered = header(layout::kRegistered);
  return row;
}

QList<StripRow> StripRowsOf(const StripDocument& document) {
  QList<StripRow> rows;
  if (document.size() < 2) return rows;
  // A count far beyond the separators present must not make the loop run on.
  const int last = std::min(document.StripCount(), document.HighestStripNumber());
  rows.reserve(last);
  for (int n = 1; n <= last; ++n) {
    const qsizetype s = document.FindStrip(n);
    if (s > 0) rows.append(ReadStripRow(document.lines(), s, n));
  }
  return rows;
}
