#pragma once
// Draws the entries of a font list: the TrueType sign before families marked
// "t", the family name after it, vertically centred. The main window's font
// list and the key-label dialog's share it.

#include <QPixmap>
#include <QStringList>
#include <QStyledItemDelegate>

// The sign drawn before TrueType (scalable) families.
QPixmap TrueTypeSign();

class FontItemDelegate : public QStyledItemDelegate {
 public:
  // `markedFonts` holds one family name plus marker ("t" or "u") per entry,
  // parallel to the list; `drawnFlag`, when given, is set by every drawn entry.
  FontItemDelegate(const QStringList* markedFonts, bool* drawnFlag, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  const QStringList* markedFonts_;
  bool* drawnFlag_;
};
