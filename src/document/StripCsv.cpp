#include "document/StripCsv.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <map>
#include <vector>

#include "base/SharedLines.h"
#include "base/ShiftJis.h"
#include "document/EntryFields.h"
#include "document/KeyBlockText.h"
#include "document/SpreadsheetRewrites.h"
#include "document/Series.h"
#include "document/StripCreation.h"
#include "document/StripDocument.h"
#include "document/StripList.h"
#include "document/StripRow.h"
#include "document/Template.h"

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

QString KeyColumnName(int key) { return Text(csvcolumn::kKeyPrefix) + QString::number(key + 1); }

DocumentError InStrip(int number, const DocumentError& error) {
  return DocumentError(error.Line(), QStringLiteral("示名条 %1: %2").arg(number).arg(error.Expected()));
}

// ---- Export ----------------------------------------------------------------

QList<QByteArray> StripCells(const Lines& lines, qsizetype separator, const StripRow& row) {
  QList<QByteArray> cells{row.extension, row.department, row.userName, row.series, row.stripType, row.registered};
  for (qsizetype keyLine : KeyBlockLines(lines, separator + 1)) {
    cells.append(KeyBlockHasPicture(lines, keyLine) ? QByteArray() : KeyTextLinesOf(lines, keyLine).join('\n'));
  }
  return cells;
}

// ---- Import: the header row --------------------------------------------------

struct KeyColumn {
  int column = 0;
  int key = 0;  // key index, from 0
};

// Which column holds what, by the header row; -1 for a column the file
// does not have.
struct Columns {
  int extension = -1;
  int department = -1;
  int userName = -1;
  int series = -1;
  int stripType = -1;
  std::vector<KeyColumn> keys;
  QStringList names;         // every header, trimmed, for the error texts
  std::vector<int> unnamed;  // columns with an empty header
};

// A header as compared: full-width digits and letters as ASCII, no spaces
// (a spreadsheet user types "キー１" or "キー 1" for "キー1").
QString NormalizedHeader(const QString& name) {
  QString normalized;
  normalized.reserve(name.size());
  for (QChar c : name) {
    if (c.isSpace()) continue;
    const char16_t u = c.unicode();
    normalized += u >= 0xFF01 && u <= 0xFF5E ? QChar(u - 0xFEE0) : c;
  }
  return normalized;
}

QString KnownHeadersText() {
  QStringList names;
  for (const char* name : {csvcolumn::kExtension, csvcolumn::kDepartment, csvcolumn::kUserName, csvcolumn::kSeries,
                           csvcolumn::kStripType, csvcolumn::kRegistered}) {
    names.append(Text(name));
  }
  names.append(KeyColumnName(0) + QStringLiteral("、") + KeyColumnName(1) + QStringLiteral("…"));
  return names.join(QStringLiteral("、"));
}

// The key index of a header "キーn" (n from 1, ASCII digits), or -1.
int KeyIndexOfHeader(const QString& name) {
  const QString prefix = Text(csvcolumn::kKeyPrefix);
  if (!name.startsWith(prefix)) return -1;
  const QString digits = name.mid(prefix.size());
  if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= '0' && c <= '9'; })) {
    return -1;
  }
  bool ok = false;
  const int n = digits.toInt(&ok);
  return ok && n >= 1 ? n - 1 : -1;
}

Columns ReadColumns(const QStringList& header, int headerRow, QList<CsvRowError>& errors) {
  Columns columns;
  const std::pair<const char*, int*> named[] = {
      {csvcolumn::kExtension, &columns.extension}, {csvcolumn::kDepartment, &columns.department},
      {csvcolumn::kUserName, &columns.userName},   {csvcolumn::kSeries, &columns.series},
      {csvcolumn::kStripType, &columns.stripType},
  };
  QHash<int, int> keyColumns;  // key index -> column
  for (int c = 0; c < header.size(); ++c) {
    const QString name = TrimEntryText(header[c]);
    const QString normalized = NormalizedHeader(name);
    columns.names.append(name);
    bool duplicate = false;
    bool known = normalized == Text(csvcolumn::kRegistered);  // written by the export, not read back
    for (const auto& [text, place] : named) {
      if (normalized != Text(text)) continue;
      known = true;
      duplicate = *place >= 0;
      if (!duplicate) *place = c;
    }
    if (const int key = KeyIndexOfHeader(normalized); key >= 0) {
      known = true;
      duplicate = keyColumns.contains(key);
      if (!duplicate) {
        keyColumns.insert(key, c);
        columns.keys.push_back({c, key});
      }
    }
    if (normalized.isEmpty()) {
      columns.unnamed.push_back(c);
    } else if (!known) {
      errors.append({headerRow, name, QStringLiteral("この見出しの列は取り込めません。使える見出しは %1 です")
                                          .arg(KnownHeadersText())});
    }
    if (duplicate) errors.append({headerRow, name, QStringLiteral("同じ見出しの列が2つあります")});
  }
  if (columns.extension < 0) {
    errors.append({headerRow, Text(csvcolumn::kExtension), QStringLiteral("見出しの行にこの列がありません")});
  }
  // Keys are written in document order, whatever the order of the columns.
  std::sort(columns.keys.begin(), columns.keys.end(), [](const KeyColumn& a, const KeyColumn& b) { return a.key < b.key; });
  return columns;
}

// ---- Import: the strips ------------------------------------------------------

struct ExistingStrip {
  qsizetype separator = 0;
  qsizetype end = 0;
  StripRow row;
};

// A key's new text: its block line (in the strip's lines as planned) and
// its lines.
struct KeyText {
  qsizetype keyLine = 0;
  Lines text;
  qsizetype replaced = 0;  // the count of text lines it replaces
};

// What one valid row does to one strip.
struct StripEdit {
  const ExistingStrip* existing = nullptr;  // null for a new strip
  StripRow header;                          // the header it gets
  bool headerChanged = false;
  // A new strip's entry and template body: its block is only built with
  // the changes, so that a list of many thousand new strips holds one
  // block at a time, not one per row.
  StripEntry entry;
  Lines body;
  std::vector<KeyText> keys;
};

// One data row's cells, by column; nothing for a column the file or the
// row does not have (a spreadsheet drops trailing empty cells).
class RowCells {
 public:
  RowCells(const QStringList& cells, const Columns& columns) : cells_(cells), columns_(columns) {}
  std::optional<QString> At(int column) const {
    if (column < 0 || column >= cells_.size()) return std::nullopt;
    return cells_[column];
  }
  QString Trimmed(int column) const { return TrimEntryText(At(column).value_or(QString())); }
  bool AllEmpty() const {
    return std::all_of(cells_.begin(), cells_.end(), [](const QString& c) { return TrimEntryText(c).isEmpty(); });
  }
  const Columns& columns() const { return columns_; }

 private:
  const QStringList& cells_;
  const Columns& columns_;
};

// An extension number without its leading zeros ("0201" -> "201"), the
// last digit kept ("00" -> "0").
QString WithoutLeadingZeros(const QString& extension) {
  qsizetype zeros = 0;
  while (zeros + 1 < extension.size() && extension[zeros] == '0') ++zeros;
  return extension.mid(zeros);
}

// Key text lines as one cell's text.
QString CellText(const Lines& lines) { return sjis::Decode(lines.join('\n')); }

class ImportPlanner {
 public:
  // `inFile`: every extension number that has a row in the file.
  ImportPlanner(const StripDocument& document, const CsvImportContext& context, QSet<QString> inFile)
      : document_(document), context_(context), inFile_(std::move(inFile)) {
    const QList<StripRow> rows = StripRowsOf(document);
    existing_.reserve(static_cast<size_t>(rows.size()));
    for (const StripRow& row : rows) {
      const qsizetype separator = document.FindStrip(row.number);
      existing_.push_back({separator, document.EndOfStrip(row.number), row});
    }
    for (const ExistingStrip& strip : existing_) {
      const QString extension = sjis::Decode(strip.row.extension);
      if (byExtension_.try_emplace(extension, &strip).second) {
        byDigits_[WithoutLeadingZeros(extension)].append(extension);
      }
    }
    nextNumber_ = document.isEmpty() ? 1 : document.StripCount() + 1;
  }

  // Plans one data row (`row` counts the header as 1).
  CsvRowPlan PlanRow(int row, const RowCells& cells);
  ChangeSet Changes() const;

 private:
  struct RowContext {
    int row;
    QList<CsvRowError>& errors;
    QList<CsvCellChange>& changes;
    void Error(const QString& column, const QString& reason) const { errors.append({row, column, reason}); }
    void Change(const QString& column, const QString& before, const QString& after) const {
      changes.append({column, before, after, SpreadsheetRewriteWarning(before, after)});
    }
  };
  const ExistingStrip* MatchExtension(const QString& extension, const RowContext& at);
  void PlanUpdate(const ExistingStrip& strip, const RowCells& cells, const RowContext& at, StripEdit& edit);
  void PlanCreation(const QString& extension, const RowCells& cells, const RowContext& at, StripEdit& edit);
  // The template body of a new strip's series and type, or nothing after
  // an error.
  std::optional<Lines> TemplateFor(const QString& series, const QString& type, const RowContext& at);
  void PlanHeaderField(const RowCells& cells, int column, QByteArray& field, const RowContext& at) const;
  void PlanKeys(const Lines& lines, qsizetype stripStart, const RowCells& cells, const RowContext& at,
                std::vector<KeyText>& keys) const;
  ChangeSet UpdateChanges(const StripEdit& edit) const;
  Lines FilledBlock(const StripEdit& edit) const;
  // Every new strip's block, filled, behind the file's first two lines
  // when `withFileHeader`.
  Lines CreatedLines(bool withFileHeader) const;

  const StripDocument& document_;
  const CsvImportContext& context_;
  std::vector<ExistingStrip> existing_;
  QSet<QString> inFile_;
  std::map<QString, const ExistingStrip*> byExtension_;
  std::map<QString, QStringList> byDigits_;  // "201" -> "201", "0201": the extensions without their leading zeros
  QHash<QString, int> rowOfExtension_;       // the first row of each extension in the file
  QHash<QString, QStringList> typesOfSeries_;
  QHash<QString, TemplateBody> templates_;
  QHash<QString, Lines> prototypes_;  // by strip type: a new strip's block, to find its keys in
  std::vector<StripEdit> edits_;
  int nextNumber_ = 1;
};

const ExistingStrip* ImportPlanner::MatchExtension(const QString& extension, const RowContext& at) {
  const QString column = Text(csvcolumn::kExtension);
  if (const auto first = rowOfExtension_.constFind(extension); first != rowOfExtension_.constEnd()) {
    at.Error(column, QStringLiteral("内線番号「%1」は%2行目にもあります").arg(extension).arg(*first));
    return nullptr;
  }
  rowOfExtension_.insert(extension, at.row);
  const auto exact = byExtension_.find(extension);
  // A spreadsheet takes "0201" for a number and drops its zero: a number
  // that differs from a strip's only in leading zeros may be that strip's
  // row. Never take it on a guess: only when the file has a row for every
  // such strip does each row plainly mean its own number.
  QStringList others;
  if (const auto alike = byDigits_.find(WithoutLeadingZeros(extension)); alike != byDigits_.end()) {
    for (const QString& other : alike->second) {
      if (other != extension && !inFile_.contains(other)) others.append(other);
    }
  }
  if (!others.isEmpty() && exact != byExtension_.end()) {
    at.Error(column, QStringLiteral("内線番号「%1」の示名条（示名条 %2）と、先頭の0だけが違う「%3」の示名条があり、"
                                    "この行がどちらの示名条のものか決められません（表計算ソフトが先頭の0を落としたのかもしれません）。"
                                    "この列を文字列にして0を残すか、「%3」の行もファイルに入れてください")
                         .arg(extension)
                         .arg(exact->second->row.number)
                         .arg(others.join(QStringLiteral("」「"))));
    return nullptr;
  }
  if (exact != byExtension_.end()) return exact->second;
  if (!others.isEmpty() && !extension.startsWith('0')) {
    at.Error(column, QStringLiteral("内線番号「%1」は先頭の0が落ちています（「%2」の示名条があります）。"
                                    "表計算ソフトでこの列を文字列にしてください")
                         .arg(extension, others.first()));
  }
  return nullptr;
}

CsvRowPlan ImportPlanner::PlanRow(int row, const RowCells& cells) {
  CsvRowPlan plan;
  plan.row = row;
  const RowContext at{row, plan.errors, plan.changes};
  for (int column : cells.columns().unnamed) {
    if (!cells.Trimmed(column).isEmpty()) {
      at.Error(QStringLiteral("%1列目").arg(column + 1), QStringLiteral("見出しのない列に値があります。見出しの行に列の名前を入れてください"));
    }
  }
  const int column = cells.columns().extension;
  plan.extension = cells.Trimmed(column);
  if (plan.extension.isEmpty()) {
    at.Error(Text(csvcolumn::kExtension), QStringLiteral("内線番号がありません"));
  } else if (const QString problem = EntryFieldProblem(plan.extension); !problem.isEmpty()) {
    at.Error(Text(csvcolumn::kExtension), problem);
  }
  StripEdit edit;
  if (plan.errors.isEmpty()) {
    if (const ExistingStrip* strip = MatchExtension(plan.extension, at)) {
      PlanUpdate(*strip, cells, at, edit);
      plan.strip = strip->row.number;
    } else if (plan.errors.isEmpty()) {
      PlanCreation(plan.extension, cells, at, edit);
    }
  }
  if (!plan.errors.isEmpty()) {
    plan.outcome = CsvRowOutcome::kError;
    plan.changes.clear();  // the errors say what to mend; nothing of the row is taken
    return plan;
  }
  if (!edit.existing) {
    plan.outcome = CsvRowOutcome::kCreate;
    plan.strip = edit.header.number;
    ++nextNumber_;
  } else {
    const bool changed = edit.headerChanged || !edit.keys.empty();
    plan.outcome = changed ? CsvRowOutcome::kUpdate : CsvRowOutcome::kUnchanged;
    if (!changed) return plan;
  }
  edits_.push_back(std::move(edit));
  return plan;
}

void ImportPlanner::PlanHeaderField(const RowCells& cells, int column, QByteArray& field, const RowContext& at) const {
  const std::optional<QString> cell = cells.At(column);
  if (!cell) return;
  const QByteArray bytes = EntryFieldBytes(*cell, field);
  if (bytes == field) return;
  const QString name = cells.columns().names[column];
  if (const QString problem = EntryFieldProblem(TrimEntryText(*cell)); !problem.isEmpty()) {
    at.Error(name, problem);
    return;
  }
  at.Change(name, sjis::Decode(field), sjis::Decode(bytes));
  field = bytes;
}

void ImportPlanner::PlanUpdate(const ExistingStrip& strip, const RowCells& cells, const RowContext& at,
                               StripEdit& edit) {
  edit.existing = &strip;
  edit.header = strip.row;
  const Columns& columns = cells.columns();
  // Series and strip type come with the strip's keys: they are not changed.
  for (const auto& [column, stored] : {std::pair{columns.series, &strip.row.series},
                                       std::pair{columns.stripType, &strip.row.stripType}}) {
    const QString wanted = cells.Trimmed(column);
    const QString current = TrimEntryText(sjis::Decode(*stored));
    if (!wanted.isEmpty() && wanted != current) {
      at.Error(columns.names[column], QStringLiteral("既存の示名条では変えられません（この示名条は「%1」）").arg(current));
    }
  }
  PlanHeaderField(cells, columns.department, edit.header.department, at);
  PlanHeaderField(cells, columns.userName, edit.header.userName, at);
  edit.headerChanged = edit.header.department != strip.row.department || edit.header.userName != strip.row.userName;
  try {
    PlanKeys(document_.lines(), strip.separator + 1, cells, at, edit.keys);
  } catch (const DocumentError& error) {
    at.Error(QString(), QStringLiteral("示名条 %1 のデータに誤りがあります（%2行目：%3）")
                            .arg(strip.row.number)
                            .arg(error.Line() + 1)
                            .arg(error.Expected()));
  }
}

void ImportPlanner::PlanCreation(const QString& extension, const RowCells& cells, const RowContext& at,
                                 StripEdit& edit) {
  const Columns& columns = cells.columns();
  const std::optional<Lines> body = TemplateFor(cells.Trimmed(columns.series), cells.Trimmed(columns.stripType), at);
  StripEntry entry;
  entry.seriesName = sjis::Encode(cells.Trimmed(columns.series));
  entry.stripType = sjis::Encode(cells.Trimmed(columns.stripType));
  entry.extension = sjis::Encode(extension);
  PlanHeaderField(cells, columns.department, entry.department, at);
  PlanHeaderField(cells, columns.userName, entry.userName, at);
  entry.registered = context_.registered;
  if (!body) return;
  edit.header = RowOfEntry(entry, nextNumber_);
  // Every strip of a type has its keys on the same lines of its block.
  auto prototype = prototypes_.find(cells.Trimmed(columns.stripType));
  if (prototype == prototypes_.end()) {
    prototype = prototypes_.insert(cells.Trimmed(columns.stripType), NewStripBlock(0, StripEntry(), *body));
  }
  // The block's first header line is line 1.
  PlanKeys(*prototype, 1, cells, at, edit.keys);
  edit.entry = std::move(entry);
  edit.body = *body;
}

std::optional<Lines> ImportPlanner::TemplateFor(const QString& series, const QString& type, const RowContext& at) {
  const QString seriesColumn = Text(csvcolumn::kSeries);
  const QString typeColumn = Text(csvcolumn::kStripType);
  if (series.isEmpty()) {
    at.Error(seriesColumn, QStringLiteral("新しい内線番号の示名条を作るには主装置のシリーズが必要です"));
    return std::nullopt;
  }
  if (SeriesIndexOf(series) < 0) {
    at.Error(seriesColumn, QStringLiteral("「%1」という主装置のシリーズはありません").arg(series));
    return std::nullopt;
  }
  if (type.isEmpty()) {
    at.Error(typeColumn, QStringLiteral("新しい内線番号の示名条を作るには示名条のタイプが必要です"));
    return std::nullopt;
  }
  auto types = typesOfSeries_.find(series);
  if (types == typesOfSeries_.end()) {
    types = typesOfSeries_.insert(series, DiscoverStripTypes(context_.templateFolders, sjis::Encode(series)));
  }
  if (!types->contains(type)) {
    at.Error(typeColumn, QStringLiteral("「%1」の示名条のタイプに「%2」はありません").arg(series, type));
    return std::nullopt;
  }
  auto body = templates_.find(type);
  if (body == templates_.end()) body = templates_.insert(type, LoadTemplateBody(context_.templateFolders, sjis::Encode(type)));
  if (!body->lines) {
    at.Error(typeColumn, body->error);
    return std::nullopt;
  }
  return body->lines;
}

void ImportPlanner::PlanKeys(const Lines& lines, qsizetype stripStart, const RowCells& cells, const RowContext& at,
                             std::vector<KeyText>& keys) const {
  const std::vector<qsizetype> keyLines = KeyBlockLines(lines, stripStart);
  for (const KeyColumn& key : cells.columns().keys) {
    const std::optional<QString> cell = cells.At(key.column);
    if (!cell) continue;  // the row leaves this key alone
    const QString column = cells.columns().names[key.column];
    if (static_cast<size_t>(key.key) >= keyLines.size()) {
      if (!cell->isEmpty()) at.Error(column, QStringLiteral("この示名条のキーは%1個です").arg(keyLines.size()));
      continue;
    }
    const qsizetype keyLine = keyLines[static_cast<size_t>(key.key)];
    const Lines current = KeyTextLinesOf(lines, keyLine);
    // A picture exports as an empty cell; a key that cannot be typed into
    // keeps its fixed text.
    if (KeyBlockHasPicture(lines, keyLine)) {
      if (!cell->isEmpty()) at.Error(column, QStringLiteral("画像のキーには文字を入れられません"));
      continue;
    }
    const QString before = CellText(current);
    if (*cell == before) continue;
    if (KeyNumberValue(LineAt(lines, keyLine + layout::kKeyNumber)) <= 0) {
      if (!cell->isEmpty()) at.Error(column, QStringLiteral("文字を固定したキーは変えられません"));
      continue;
    }
    Lines text;
    bool valid = true;
    for (const QString& line : EditorTextLines(*cell)) {
      const QString problem = EntryFieldProblem(line);
      const QByteArray bytes = sjis::Encode(line);
      if (problem.isEmpty() && bytes.size() > layout::kTextLineBytes) {
        at.Error(column, QStringLiteral("「%1」は%2バイトです（1行%3バイトまで）")
                             .arg(line)
                             .arg(bytes.size())
                             .arg(layout::kTextLineBytes));
        valid = false;
      } else if (!problem.isEmpty()) {
        at.Error(column, problem);
        valid = false;
      }
      text.append(bytes);
    }
    if (valid && text != current) {
      at.Change(column, before, CellText(text));
      keys.push_back({keyLine, std::move(text), current.size()});
    }
  }
}

// The edits of an existing strip, made on a copy of its lines, as changes
// counted from the copy's first line (its separator line).
ChangeSet ImportPlanner::UpdateChanges(const StripEdit& edit) const {
  const ExistingStrip& strip = *edit.existing;
  StripDocument lines;
  lines.SetLines(document_.lines().mid(strip.separator, strip.end - strip.separator));
  lines.StartRecording();
  if (edit.headerChanged) WriteStripHeaderAt(lines, 0, edit.header);
  // Keys in document order, each block moved by the texts written above it:
  // the changes run down the strip, which the document applies in one pass.
  qsizetype moved = -strip.separator;
  for (const KeyText& key : edit.keys) moved += WriteKeyText(lines, key.keyLine + moved, key.text);
  return lines.TakeRecording();
}

Lines ImportPlanner::FilledBlock(const StripEdit& edit) const {
  StripDocument block;
  block.SetLines(NewStripBlock(edit.header.number, edit.entry, edit.body));
  qsizetype moved = 0;
  for (const KeyText& key : edit.keys) moved += WriteKeyText(block, key.keyLine + moved, key.text);
  return block.lines();
}

// Appends `lines` to `text`, each ended by a line feed.
void AppendLinesText(QByteArray& text, const Lines& lines) {
  lines.ForEachView([&](qsizetype, QByteArrayView line) {
    text += line;
    text += '\n';
  });
}

// A new strip's block with its key texts written, appended to `text` a line
// and a line feed at a time, without building the block as lines first.
// The count of lines.
qsizetype AppendNewStripText(QByteArray& text, const StripEdit& edit) {
  const Lines head = NewStripBlock(edit.header.number, edit.entry, Lines());
  const auto line = [&](qsizetype i) { return i < head.size() ? head.view(i) : edit.body.view(i - head.size()); };
  qsizetype count = 0;
  const auto put = [&](QByteArrayView l) {
    text += l;
    text += '\n';
    ++count;
  };
  qsizetype at = 0;
  // The keys run down the block (in key order, as the template has them).
  for (const KeyText& key : edit.keys) {
    for (; at < key.keyLine + layout::kTextCount; ++at) put(line(at));
    put(QByteArray::number(key.text.size()));
    key.text.ForEachView([&](qsizetype, QByteArrayView l) { put(l); });
    at = key.keyLine + layout::kFirstText + key.replaced;
  }
  for (const qsizetype size = head.size() + edit.body.size(); at < size; ++at) put(line(at));
  return count;
}

Lines ImportPlanner::CreatedLines(bool withFileHeader) const {
  // The new strips' lines as parts of one buffer, 8 bytes an entry, rather
  // than a QByteArray each: a list of many thousand strips then takes
  // little more than its bytes in the data file.
  QByteArray text;
  qsizetype count = 0;
  const int strips = nextNumber_ - 1;
  if (withFileHeader) {
    AppendLinesText(text, Lines{layout::kFormatVersionLine, QByteArray::number(strips)});
    count = 2;
  }
  const qsizetype newStrips = std::count_if(edits_.begin(), edits_.end(), [](const StripEdit& e) { return !e.existing; });
  for (const StripEdit& edit : edits_) {
    if (edit.existing) continue;
    const qsizetype before = text.size();
    count += AppendNewStripText(text, edit);
    // Sized once by the first strip; strips of other types grow it as usual.
    if (before <= 64) text.reserve(text.size() + (text.size() - before) * (newStrips - 1));
  }
  if (text.capacity() > text.size() + text.size() / 4) text.squeeze();
  Lines lines = SplitLinesSharing(std::move(text));
  if (lines.size() == count) return lines;
  // Checked cells and templates hold no line end or byte 00 that would
  // split the text otherwise; should one ever, the lines go one by one.
  lines.clear();
  if (withFileHeader) lines << layout::kFormatVersionLine << QByteArray::number(strips);
  for (const StripEdit& edit : edits_) {
    if (!edit.existing) lines += FilledBlock(edit);
  }
  return lines;
}

ChangeSet ImportPlanner::Changes() const {
  ChangeSet changes;
  std::vector<const StripEdit*> updates;
  const int count = nextNumber_ - 1;
  const bool creates = count > (document_.isEmpty() ? 0 : document_.StripCount());
  for (const StripEdit& edit : edits_) {
    if (edit.existing) updates.push_back(&edit);
  }
  Lines created = creates ? CreatedLines(document_.isEmpty()) : Lines();
  if (creates && !document_.isEmpty()) AppendChange(changes, {1, Lines{document_.at(1)}, Lines{QByteArray::number(count)}});
  std::sort(updates.begin(), updates.end(),
            [](const StripEdit* a, const StripEdit* b) { return a->existing->separator < b->existing->separator; });
  qsizetype moved = 0;  // lines the strips above added
  for (const StripEdit* edit : updates) {
    // A strip's changes count its lines as its own changes before them left
    // them; only the strips above move them further.
    const qsizetype offset = edit->existing->separator + moved;
    for (LineChange change : UpdateChanges(*edit)) {
      change.at += offset;
      moved += change.delta();
      AppendChange(changes, std::move(change));
    }
  }
  if (!created.isEmpty()) AppendChange(changes, {document_.size() + moved, Lines(), std::move(created)});
  return changes;
}

}  // namespace

QByteArray StripsAsCsv(const StripDocument& document, CsvEncoding encoding) {
  QList<QList<QByteArray>> rows;
  int widest = 0;
  for (const StripRow& row : StripRowsOf(document)) {
    try {
      rows.append(StripCells(document.lines(), document.FindStrip(row.number), row));
    } catch (const DocumentError& error) {
      throw InStrip(row.number, error);
    }
    widest = std::max(widest, static_cast<int>(rows.last().size()) - StripRow::kColumnCount);
  }
  QList<QByteArray> header;
  for (const char* name : {csvcolumn::kExtension, csvcolumn::kDepartment, csvcolumn::kUserName, csvcolumn::kSeries,
                           csvcolumn::kStripType, csvcolumn::kRegistered}) {
    header.append(sjis::Encode(Text(name)));
  }
  for (int k = 0; k < widest; ++k) header.append(sjis::Encode(KeyColumnName(k)));
  rows.prepend(header);
  return WriteCsv(rows, encoding);
}

QString CsvRowError::Detail() const { return column.isEmpty() ? reason : column + QStringLiteral(": ") + reason; }

QString CsvRowError::Text() const {
  if (row <= 0) return reason;
  if (column.isEmpty()) return QStringLiteral("%1行目: %2").arg(row).arg(reason);
  return QStringLiteral("%1行目 %2").arg(row).arg(Detail());
}

QString CsvCellChange::Text() const {
  const auto shown = [](QString text) {
    return text.isEmpty() ? QStringLiteral("（空）") : text.replace('\n', QStringLiteral("↵"));
  };
  return QStringLiteral("%1: %2 → %3").arg(column, shown(before), shown(after));
}

int CsvRowPlan::Warnings() const {
  return static_cast<int>(std::count_if(changes.begin(), changes.end(), [](const CsvCellChange& c) { return !c.warning.isEmpty(); }));
}

QString CsvRowPlan::OutcomeText() const {
  switch (outcome) {
    case CsvRowOutcome::kCreate: return QStringLiteral("作成");
    case CsvRowOutcome::kUpdate: return QStringLiteral("更新");
    case CsvRowOutcome::kUnchanged: return QStringLiteral("変更なし");
    case CsvRowOutcome::kError: break;
  }
  QStringList texts;
  for (const CsvRowError& error : errors) texts.append(error.Detail());
  return texts.join(QStringLiteral("／"));
}

int CsvImportPlan::FirstChangedStrip() const {
  for (const CsvRowPlan& row : rows) {
    if (row.outcome == CsvRowOutcome::kCreate || row.outcome == CsvRowOutcome::kUpdate) return row.strip;
  }
  return 0;
}

QString CsvImportPlan::Summary() const {
  QString text = QStringLiteral("作成 %1件、更新 %2件、変更なし %3件").arg(created).arg(updated).arg(unchanged);
  if (warnings > 0) text += QStringLiteral("、警告 %1件").arg(warnings);
  if (!errors.isEmpty()) text += QStringLiteral("、エラー %1件").arg(errors.size());
  return text;
}

CsvImportPlan PlanCsvImport(const StripDocument& document, const CsvTable& table, const CsvImportContext& context,
                            Progress& progress) {
  CsvImportPlan plan;
  if (!table.wrongKind.isEmpty()) {
    plan.errors.append({0, QString(), table.wrongKind});
    return plan;
  }
  if (table.rows.isEmpty() && !table.error) {
    plan.errors.append({0, QString(), QStringLiteral("CSVファイルが空です")});
    return plan;
  }
  const Columns columns = ReadColumns(table.rows.value(0), table.rowNumbers.value(0, 1), plan.errors);
  // A syntax error names its column by the header where it has one.
  const auto syntaxError = [&] {
    if (!table.error) return;
    QString column = columns.names.value(table.error->column - 1);
    if (column.isEmpty()) column = QStringLiteral("%1列目").arg(table.error->column);
    plan.errors.append({table.error->row, column, table.error->reason});
  };
  // Rows under a header with an error would be read wrongly.
  if (table.rows.isEmpty() || !plan.errors.isEmpty()) {
    if (table.rows.isEmpty()) plan.errors.clear();
    syntaxError();
    return plan;
  }
  try {
    QSet<QString> inFile;
    for (qsizetype i = 1; i < table.rows.size(); ++i) inFile.insert(RowCells(table.rows[i], columns).Trimmed(columns.extension));
    ImportPlanner planner(document, context, std::move(inFile));
    const int total = static_cast<int>(table.rows.size()) - 1;
    for (qsizetype i = 1; i < table.rows.size(); ++i) {
      if (!progress.Report(static_cast<int>(i) - 1, total)) {
        plan.errors.append({0, QString(), QStringLiteral("取り込みを中止しました")});
        plan.cancelled = true;
        return plan;
      }
      const RowCells cells(table.rows[i], columns);
      if (cells.AllEmpty()) continue;
      CsvRowPlan row = planner.PlanRow(table.rowNumbers.value(i, static_cast<int>(i) + 1), cells);
      plan.errors += row.errors;
      plan.created += row.outcome == CsvRowOutcome::kCreate;
      plan.updated += row.outcome == CsvRowOutcome::kUpdate;
      plan.unchanged += row.outcome == CsvRowOutcome::kUnchanged;
      plan.warnings += row.Warnings();
      plan.rows.append(std::move(row));
    }
    progress.Report(total, total);
    syntaxError();
    if (plan.ok()) plan.changes = planner.Changes();
  } catch (const DocumentError& error) {
    plan.errors.append({0, QString(), QStringLiteral("示名条データの%1行目に誤りがあります（%2）。")
                                          .arg(error.Line() + 1)
                                          .arg(error.Expected())});
  }
  return plan;
}
