#include "document/StripRow.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

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
  const int count = document.StripCount();
  // One pass over the separators the file holds, whatever the count line
  // claims: the first separator of each number 1 ... count, by number.
  std::vector<StripDocument::Separator> listed;
  std::unordered_set<int> seen;
  for (const StripDocument::Separator& s : document.StripSeparators()) {
    if (s.number <= count && seen.insert(s.number).second) listed.push_back(s);
  }
  std::sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
  rows.reserve(static_cast<qsizetype>(listed.size()));
  for (const StripDocument::Separator& s : listed) rows.append(ReadStripRow(document.lines(), s.line, s.number));
  return rows;
}
