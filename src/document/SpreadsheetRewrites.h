#pragma once
// Cells that a spreadsheet has most likely rewritten on its own when it
// opened and saved a CSV file: a formula that became an error value, a
// number shown in exponent form, a number that lost its leading zero, a
// date, time or percentage put into the sheet's own format. The import
// shows such a change as a warning so that the user can go back to the
// spreadsheet (type the column as text) before anything is overwritten.

#include <QString>

// Why `after` looks like a spreadsheet's rewrite of `before`, or an empty
// text when it does not. `before` is the text the cell replaces (empty for
// a new strip's cell).
QString SpreadsheetRewriteWarning(const QString& before, const QString& after);
