#pragma once
// What a list shows on the screen, not what its model says: the rows
// painted highlighted in the window's last drawn contents.

#include <QList>

class QTreeWidget;

// The rows (0-based) that the window on screen shows in a highlight
// colour, after the paints still pending have run.
QList<int> PaintedHighlightedRows(QTreeWidget* list);
