#include "document/StripList.h"

#include <algorithm>
#include <functional>
#include <unordered_set>
#include <vector>

#include "base/ShiftJis.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"

namespace {

// Lines 0 and 1 are the format version and the strip count; a separator
// line above them would be damage, never a strip to delete or write.
constexpr qsizetype kDocumentHeaderLines = 2;

// One strip block: its separator line and the lines up to the next
// separator line (or the end), with the number the separator reads now.
struct Block {
  qsizetype separator;
  qsizetype end;
  int number;
};

std::vector<Block> BlocksOf(const StripDocument& document) {
  std::vector<Block> blocks;
  for (const StripDocument::Separator& s : document.StripSeparators()) {
    if (!blocks.empty()) blocks.back().end = s.line;
    blocks.push_back({s.line, document.size(), s.number});
  }
  return blocks;
}

// The distinct rows 0 ... rows - 1 among `selected`, highest first.
QList<int> ValidRowsHighestFirst(QList<int> selected, int rows) {
  selected.removeIf([rows](int r) { return r < 0 || r >= rows; });
  std::sort(selected.begin(), selected.end(), std::greater<int>());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  return selected;
}

// Deleting row r: strip r + 1's block goes, then the first separator line
// of each strip r + 2 ... count moves one number down. Only the first one
// counts, as a search for each number in turn would find it. Returns false
// when strip r + 1 has no block.
bool DeleteRowFromBlocks(std::vector<Block>& blocks, int r, int count) {
  const int doomed = r + 1;
  auto it = std::find_if(blocks.begin(), blocks.end(), [doomed](const Block& b) { return b.number == doomed; });
  const bool found = it != blocks.end();
  if (found) blocks.erase(it);
  std::unordered_set<int> renumbered;
  for (Block& b : blocks) {
    if (b.number > doomed && b.number <= count && renumbered.insert(b.number).second) --b.number;
  }
  return found;
}

// The deletion as changes to the document: line 1 gets the new count, the
// deleted blocks go and every block left gets its current separator line,
// in document order. `left` are the blocks that stay, with their numbers.
ChangeSet DeletionChanges(const Lines& lines, const std::vector<Block>& before, const std::vector<Block>& left,
                          int count) {
  ChangeSet changes;
  qsizetype removedSoFar = 0;  // lines taken out above: each change counts the lines as they are then
  auto replaceLine = [&](qsizetype original, const QByteArray& line) {
    const QByteArray old = lines.at(original);
    if (old != line) AppendChange(changes, {original - removedSoFar, Lines{old}, Lines{line}});
  };
  replaceLine(1, QByteArray::number(count));
  auto stays = left.begin();
  for (const Block& b : before) {
    if (stays != left.end() && stays->separator == b.separator) {
      replaceLine(b.separator, SeparatorLine(stays->number));
      ++stays;
    } else {
      AppendChange(changes, {b.separator - removedSoFar, lines.mid(b.separator, b.end - b.separator), Lines()});
      removedSoFar += b.end - b.separator;
    }
  }
  return changes;
}

}  // namespace

int RowShownAfterDelete(int focusedRow, int rowsLeft) {
  if (rowsLeft <= 0) return -1;
  return std::clamp(focusedRow, 0, rowsLeft - 1);
}

StripDeletion DeleteStripRows(StripDocument& document, QList<int> selectedRows, int focusedRow) {
  const int count = document.StripCount();
  StripDeletion deletion;
  deletion.removedRows = ValidRowsHighestFirst(std::move(selectedRows), count);
  deletion.stripsLeft = count - static_cast<int>(deletion.removedRows.size());
  if (deletion.removedRows.isEmpty()) return deletion;

  const std::vector<Block> before = BlocksOf(document);
  std::vector<Block> blocks = before;
  for (int r : deletion.removedRows) {
    if (!DeleteRowFromBlocks(blocks, r, count)) deletion.rowsWithoutStrip.append(r);
  }

  if (deletion.stripsLeft == 0) {
    document.Clear();
    return deletion;
  }
  document.Apply(DeletionChanges(document.lines(), before, blocks, deletion.stripsLeft));
  // Without a focused row, show the strip that moved into the place of the
  // first one deleted.
  const int noted = focusedRow >= 0 ? focusedRow : deletion.removedRows.back();
  deletion.rowToShow = RowShownAfterDelete(noted, deletion.stripsLeft);
  return deletion;
}

bool WriteStripHeader(StripDocument& document, int stripNumber, const StripRow& row) {
  const qsizetype separator = document.FindStrip(stripNumber);
  if (separator < kDocumentHeaderLines) return false;
  const qsizetype start = separator + 1;
  // All six lines or none: a header cut short is not written into.
  if (start + layout::kHeaderLines > document.size()) return false;
  document.Replace(start + layout::kExtension, row.extension);
  document.Replace(start + layout::kDepartment, row.department);
  document.Replace(start + layout::kUserName, row.userName);
  document.Replace(start + layout::kRegistered, row.registered);
  document.Replace(start + layout::kSeriesName, row.series);
  document.Replace(start + layout::kStripType, row.stripType);
  return true;
}

namespace {

// Column names in the list's order, for the violation texts.
const char* const kColumnNames[StripRow::kColumnCount] = {
    "series", "strip type", "extension", "department", "user name", "registration date"};

// Checks everything but the row contents; on success `separators` holds
// the separator line of strip n at index n - 1.
QString CountViolation(const StripDocument& document, qsizetype rows, QList<qsizetype>* separators) {
  if (document.isEmpty()) {
    return rows == 0 ? QString() : QStringLiteral("the document is empty but the list has %1 rows").arg(rows);
  }
  int count = 0;
  try {
    count = document.StripCount();
  } catch (const DocumentError&) {
    return QStringLiteral("line 1 is missing or not a strip count");
  }
  if (count != rows) return QStringLiteral("line 1 counts %1 strips but the list has %2 rows").arg(count).arg(rows);
  for (qsizetype i = 0; i < std::min(document.size(), kDocumentHeaderLines); ++i) {
    if (StripNumberOfSeparator(document.at(i)) > 0) {
      return QStringLiteral("line %1 is a separator line, not a header line").arg(i);
    }
  }
  for (const StripDocument::Separator& s : document.StripSeparators()) {
    const qsizetype expected = separators->size() + 1;
    if (s.number != expected) {
      return QStringLiteral("line %1 is the separator line of strip %2 where strip %3's belongs")
          .arg(s.line).arg(s.number).arg(expected);
    }
    separators->append(s.line);
  }
  if (separators->size() != count) {
    return QStringLiteral("line 1 counts %1 strips but there are %2 separator lines").arg(count).arg(separators->size());
  }
  return QString();
}

QString RowViolation(qsizetype row, int column, const QString& listed, const QString& header) {
  return QStringLiteral("row %1, %2: the list reads \"%3\", strip %4's header \"%5\"")
      .arg(row).arg(QString::fromLatin1(kColumnNames[column])).arg(listed).arg(row + 1).arg(header);
}

}  // namespace

QString StripListViolation(const StripDocument& document, const QList<StripRow>& rows) {
  QList<qsizetype> separators;
  if (QString v = CountViolation(document, rows.size(), &separators); !v.isEmpty()) return v;
  for (qsizetype i = 0; i < rows.size(); ++i) {
    const StripRow stored = ReadStripRow(document.lines(), separators[i], i + 1);
    const auto header = stored.Fields();
    const auto listed = rows[i].Fields();
    for (int c = 0; c < StripRow::kColumnCount; ++c) {
      if (*listed[c] != *header[c]) return RowViolation(i, c, sjis::Decode(*listed[c]), sjis::Decode(*header[c]));
    }
  }
  return QString();
}

QString StripListViolation(const StripDocument& document, const QList<QStringList>& rowTexts) {
  QList<qsizetype> separators;
  if (QString v = CountViolation(document, rowTexts.size(), &separators); !v.isEmpty()) return v;
  for (qsizetype i = 0; i < rowTexts.size(); ++i) {
    const QStringList header = ReadStripRow(document.lines(), separators[i], i + 1).Columns();
    const QStringList& listed = rowTexts[i];
    for (int c = 0; c < StripRow::kColumnCount; ++c) {
      const QString text = c < listed.size() ? listed[c] : QString();
      if (text != header[c]) return RowViolation(i, c, text, header[c]);
    }
    if (listed.size() > StripRow::kColumnCount) {
      return QStringLiteral("row %1 has %2 columns").arg(i).arg(listed.size());
    }
  }
  return QString();
}
