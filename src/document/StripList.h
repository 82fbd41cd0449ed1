#pragma once
// The document side of the strip list's edit and delete commands, and a
// check that the list, the count line and the separator lines agree.
//
// Row r of the strip list stands for strip r + 1. The list itself lives in
// the main window; these functions change only the document's lines and
// tell the window which rows to drop and which one to show.

#include <QList>
#include <QString>
#include <QStringList>

#include "document/StripRow.h"

class StripDocument;

struct StripDeletion {
  // The distinct selected rows that were taken out, highest first: the
  // order in which the list drops them.
  QList<int> removedRows;
  // Those of removedRows whose strip has no separator line: the row goes,
  // no lines do.
  QList<int> rowsWithoutStrip;
  // Rows left; line 1 holds this count unless the document became empty.
  int stripsLeft = 0;
  // The row to select and lay out afterwards; -1 when no row is left or
  // nothing was removed.
  int rowToShow = -1;
};

// Deletes the strips of the selected rows (0-based; rows outside 1 ... the
// count of line 1 and repeated rows are ignored). The highest row goes
// first: its strip's block, from its separator line up to the next
// separator line or the end, is removed and the later separator lines of
// strips up to the count of line 1 are renumbered one down. Line 1 then
// holds the rows left; when none is left the document has no lines at all.
// The saved copy is left alone. `focusedRow` is the row that had the focus
// before (-1 for none); it chooses rowToShow. Nothing changes when no
// selected row is valid. DocumentError (before any change) when line 1 is
// not a count.
StripDeletion DeleteStripRows(StripDocument& document, QList<int> selectedRows, int focusedRow = -1);

// The row shown after a delete: the focused row, or the last row when
// fewer are left; -1 when no row is left.
int RowShownAfterDelete(int focusedRow, int rowsLeft);

// Writes an edited row back into the header of strip `stripNumber`:
// extension number, department, user name, registration date, series name
// and strip type. Skipped (false) when the strip's separator line is not
// found, or its header is cut short by the end of the document.
bool WriteStripHeader(StripDocument& document, int stripNumber, const StripRow& row);
// The same for the strip whose separator line is at `separator`.
bool WriteStripHeaderAt(StripDocument& document, qsizetype separator, const StripRow& row);

// Checks that the strip list and the document agree: line 1 counts as many
// strips as there are rows and separator lines, the separator lines read
// 1 ... N in document order, and row i equals the header of strip i + 1.
// Returns the first violation in words, or an empty text when all hold.
QString StripListViolation(const StripDocument& document, const QList<StripRow>& rows);
// The same for the list's texts, column 0 first, as the window shows them.
QString StripListViolation(const StripDocument& document, const QList<QStringList>& rowTexts);
