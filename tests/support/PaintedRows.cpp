#include "support/PaintedRows.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTreeWidget>

namespace {

// A row counts as highlighted when most of its band has a highlight colour;
// its text and the focus frame take the rest.
constexpr double kHighlightedShare = 0.5;

bool IsHighlight(QRgb pixel, const QPalette& palette) {
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    if (palette.color(group, QPalette::Highlight).rgb() == (pixel | 0xff000000)) return true;
  }
  return false;
}

}  // namespace

QList<int> PaintedHighlightedRows(QTreeWidget* list) {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  QWidget* window = list->window();
  // The screen's copy of the window: the paints that ran, not a fresh one.
  const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
  QList<int> rows;
  for (int row = 0; row < list->topLevelItemCount(); ++row) {
    const QRect item = list->visualItemRect(list->topLevelItem(row));
    const QRect band = QRect(list->viewport()->mapTo(window, item.topLeft()), item.size())
                           .intersected(list->viewport()->rect().translated(list->viewport()->mapTo(window, QPoint())));
    if (band.isEmpty()) continue;
    int lit = 0;
    for (int y = band.top(); y <= band.bottom(); ++y) {
      for (int x = band.left(); x <= band.right(); ++x) lit += IsHighlight(shot.pixel(x, y), list->palette());
    }
    if (lit > kHighlightedShare * band.width() * band.height()) rows.append(row);
  }
  return rows;
}
