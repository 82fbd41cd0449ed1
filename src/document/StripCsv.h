#pragma once
// A site's strips as a spreadsheet and back. The export writes one header
// row, then one row per strip in list order: extension number, department,
// user name, series, strip type, registration date, then one column per key
// ("キー1" ...) of the widest strip, keys numbered in document order over
// all groups, each cell the key's text lines joined by a line feed (empty
// for a picture).
//
// The import matches rows to strips by extension number. A row of an
// existing strip sets its department, user name and key texts; a new
// extension number creates a strip from the template its series and strip
// type name, then fills it. Cells are checked by the entry dialog's rules
// and the key editor's 20 bytes a line; with any error nothing changes, and
// the changes of a valid file are one change set.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "base/Progress.h"
#include "document/CsvFile.h"
#include "document/LineChange.h"

class StripDocument;

namespace csvcolumn {
inline constexpr char kExtension[] = "内線番号";
inline constexpr char kDepartment[] = "部署";
inline constexpr char kUserName[] = "使用者名";
inline constexpr char kSeries[] = "主装置のシリーズ";
inline constexpr char kStripType[] = "示名条のタイプ";
inline constexpr char kRegistered[] = "登録日時";
inline constexpr char kKeyPrefix[] = "キー";  // "キー1" is key index 0
}  // namespace csvcolumn

// The document's strips as CSV. DocumentError (its text naming the strip)
// when a strip's keys cannot be walked.
QByteArray StripsAsCsv(const StripDocument& document, CsvEncoding encoding);

// A row that cannot be taken: its 1-based row in the file (the header row
// is 1), the column by its header (empty for the row as a whole), and why.
// Row 0 stands for the file as a whole.
struct CsvRowError {
  int row = 0;
  QString column;
  QString reason;
  // "部署: reason", or the reason alone.
  QString Detail() const;
  // "3行目 部署: reason", "3行目: reason" or the reason alone.
  QString Text() const;
};

// One cell that changes a strip: its column, the text it replaces (a new
// strip's template text) and the new text. `warning` says why the new text
// looks rewritten by a spreadsheet, or is empty.
struct CsvCellChange {
  QString column;
  QString before;
  QString after;
  QString warning;
  // "キー1: 0120 → 120", line feeds shown as "↵", an empty text as "（空）".
  QString Text() const;
};

enum class CsvRowOutcome { kCreate, kUpdate, kUnchanged, kError };

struct CsvRowPlan {
  int row = 0;
  QString extension;
  CsvRowOutcome outcome = CsvRowOutcome::kUnchanged;
  // The strip the row creates or changes (its number once the import is
  // made), 0 for none.
  int strip = 0;
  QList<CsvRowError> errors;
  // The cells that change, in column order of the strip (header fields,
  // then keys).
  QList<CsvCellChange> changes;
  int Warnings() const;
  // "作成", "更新", "変更なし", or the row's errors.
  QString OutcomeText() const;
};

struct CsvImportPlan {
  // One entry per data row, in file order; rows with every cell empty are
  // left out.
  QList<CsvRowPlan> rows;
  // Every error of the file and its rows, in file order.
  QList<CsvRowError> errors;
  // The import as one change set; empty unless there is no error.
  ChangeSet changes;
  int created = 0;
  int updated = 0;
  int unchanged = 0;
  // Changed cells that look rewritten by a spreadsheet: the import may be
  // made, but only once the user has accepted them.
  int warnings = 0;
  // The progress asked the planning to stop.
  bool cancelled = false;

  bool ok() const { return errors.isEmpty(); }
  // The first strip a row creates or changes, 0 when none does.
  int FirstChangedStrip() const;
  // "作成 2件、更新 1件、変更なし 5件" (and the warnings' and errors'
  // counts when any).
  QString Summary() const;
};

struct CsvImportContext {
  QStringList templateFolders;  // where the templates of new strips are found
  QByteArray registered;        // the registration date of new strips
};

// What importing `table` into `document` would do, and the changes that do
// it. The document is only read. `progress` hears of every data row; when
// it asks to stop, the plan holds the rows so far and the error
// "取り込みを中止しました" (row 0), and no changes.
CsvImportPlan PlanCsvImport(const StripDocument& document, const CsvTable& table, const CsvImportContext& context,
                            Progress& progress = NoProgress());
