#include "base/FontItemDelegate.h"

#include <QPainter>

QPixmap TrueTypeSign() {
  QPixmap pixmap(12, 12);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setPixelSize(9);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0x60, 0x60, 0x60));
  p.drawText(QRect(-1, 0, 10, 12), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("T"));
  p.setPen(QColor(0x10, 0x40, 0xa0));
  p.drawText(QRect(3, 1, 10, 12), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("T"));
  return pixmap;
}

FontItemDelegate::FontItemDelegate(const QStringList* markedFonts, bool* drawnFlag, QObject* parent)
    : QStyledItemDelegate(parent), markedFonts_(markedFonts), drawnFlag_(drawnFlag) {}

void FontItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  if (drawnFlag_) *drawnFlag_ = true;
  const bool selected = option.state & QStyle::State_Selected;
  painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
  const int row = index.row();
  const bool trueType = row >= 0 && row < markedFonts_->size() && (*markedFonts_)[row].endsWith('t');
  static const QPixmap sign = TrueTypeSign();
  if (trueType) painter->drawPixmap(option.rect.left() + 2, option.rect.top() + 2, sign);
  const QString name = index.data().toString();
  const int textHeight = option.fontMetrics.height();
  const int top = option.rect.top() + (option.rect.height() - textHeight) / 2;
  painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(QRect(option.rect.left() + sign.width() + 4, top, option.rect.width(), textHeight),
                    Qt::AlignLeft | Qt::AlignVCenter, name);
}

QSize FontItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  return QSize(QStyledItemDelegate::sizeHint(option, index).width() + 16, 16);
}
