#include "view/KeyControls.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "document/StripLayout.h"
#include "view/KeyEditing.h"
#include "view/StripRenderer.h"

NumberLabel::NumberLabel(const KeyPlan& key, ViewKind view, QWidget* parent)
    : QWidget(parent), key_(key), view_(view) {
  setAttribute(Qt::WA_TranslucentBackground);
}

void NumberLabel::SetKey(const KeyPlan& key) {
  key_ = key;
  update();
}

void NumberLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawNumberLabel(painter, rect(), key_, view_);
}

void NumberLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

TextFrame::TextFrame(QWidget* parent) : QWidget(parent) {}

void TextFrame::SetPenWidth(int width) {
  if (penWidth_ == width) return;
  penWidth_ = width;
  update();
}

void TextFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawTextFrame(painter, rect());
  if (penWidth_ > 1) {
    painter.setPen(QPen(Qt::black, penWidth_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const qreal half = penWidth_ / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
  }
}

void TextFrame::mousePressEvent(QMouseEvent* event) { event->accept(); }
void TextFrame::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void TextFrame::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

KeyImage::KeyImage(QWidget* parent) : QWidget(parent) {}

void KeyImage::SetImage(const QImage& image) {
  source_ = nullptr;
  image_ = image;
  update();
}

void KeyImage::SetImageSource(std::function<QImage()> source) {
  source_ = std::move(source);
  image_ = QImage();
  update();
}

const QImage& KeyImage::Image() const {
  if (source_) {
    image_ = source_();
    source_ = nullptr;
  }
  return image_;
}

void KeyImage::SetOverflowMark(bool on) {
  if (overflowMark_ == on) return;
  overflowMark_ = on;
  update();
}

void KeyImage::paintEvent(QPaintEvent*) {
  const QImage& image = Image();
  if (image.isNull()) return;
  QPainter painter(this);
  painter.drawImage(rect(), image);
  if (overflowMark_) DrawOverflowMark(painter, rect());
}

PanelKeyAction PanelKeyActionOf(const QKeyEvent& event) {
  // Shortcuts are the window's; Shift only picks the character.
  const Qt::KeyboardModifiers held = event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (held != Qt::NoModifier) return PanelKeyAction::None;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
      return PanelKeyAction::OpenAtEnd;
    default:
      break;
  }
  const QString text = event.text();
  if (text.isEmpty()) return PanelKeyAction::None;
  for (QChar c : text) {
    if (!c.isPrint() && !c.isSurrogate()) return PanelKeyAction::None;
  }
  return PanelKeyAction::StartTyping;
}

PanelKeyAction PanelKeyActionOf(const QInputMethodEvent& event) {
  const bool typing = !event.preeditString().isEmpty() || !event.commitString().isEmpty();
  return typing ? PanelKeyAction::StartTyping : PanelKeyAction::None;
}

void DrawOverflowMark(QPainter& painter, const QRect& face) {
  // A small triangle in the top right corner, as spreadsheets mark a cell.
  const int side = std::clamp(std::min(face.width(), face.height()) / 3, 3, 8);
  const QPoint corner = face.topRight() + QPoint(1, 0);
  const QPolygon triangle({corner, corner - QPoint(side, 0), corner + QPoint(0, side)});
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(Qt::red));
  painter.drawPolygon(triangle);
  painter.restore();
}

void KeyImage::contextMenuEvent(QContextMenuEvent* event) {
  emit ContextMenuRequested(event->globalPos());
}

void KeyImage::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  emit MouseDown(event->buttons(), event->modifiers());
}

void KeyImage::mouseReleaseEvent(QMouseEvent* event) {
  if (pressed_ && rect().contains(event->position().toPoint())) emit Clicked();
  pressed_ = false;
}

void KeyImage::mouseDoubleClickEvent(QMouseEvent* event) {
  pressed_ = false;
  if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

bool FocusMoveCounts(Qt::FocusReason reason) {
  // While a pop-up is open (a menu, a combo box's list) the focus is only
  // lent to it.
  return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
         !QApplication::activePopupWidget();
}

KeyEditor::KeyEditor(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFrameStyle(QFrame::NoFrame);
  setTabChangesFocus(true);
  // Like the key's face: no scroll bars, and room for two lines in a key.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  document()->setDocumentMargin(1);
  // Hidden editors take no focus from Tab: the text panels are the tab stops.
  setFocusPolicy(Qt::ClickFocus);
  connect(this, &QPlainTextEdit::textChanged, this, &KeyEditor::MarkOverLimit);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &KeyEditor::ReportLineBytes);
}

void KeyEditor::MarkOverLimit() {
  QList<QTextEdit::ExtraSelection> marks;
  for (QTextBlock line = document()->begin(); line.isValid(); line = line.next()) {
    const QString text = line.text();
    const int kept = KeptCharacters(text, layout::kTextLineBytes);
    if (kept >= text.size()) continue;
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(document());
    mark.cursor.setPosition(line.position() + kept);
    mark.cursor.setPosition(line.position() + text.size(), QTextCursor::KeepAnchor);
    mark.format.setForeground(QColor(Qt::red));
    mark.format.setBackground(QColor(255, 220, 220));
    marks.append(mark);
  }
  setExtraSelections(marks);
  ReportLineBytes();
}

void KeyEditor::ReportLineBytes() {
  const QTextBlock line = textCursor().block();
  emit LineBytesChanged(line.blockNumber(), LineBytes(line.text()));
}

bool KeyEditor::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
      event->ignore();  // leaves the shortcut to the window
      return true;
    }
    // Undo and redo act on the typing first; with none left to take back
    // (or make again) they are the window's, which acts on the document.
    const QKeyCombination combination = key->keyCombination();
    const bool undo = combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Z);
    const bool redo = combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
                      combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    if ((undo && !document()->isUndoAvailable()) || (redo && !document()->isRedoAvailable())) {
      event->ignore();
      return true;
    }
  }
  return QPlainTextEdit::event(event);
}

void KeyEditor::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!EnterMayBreakLine(toPlainText())) {
        event->accept();
        return;
      }
      // A plain line break, whatever modifier came with it.
      textCursor().insertText(QStringLiteral("\n"));
      event->accept();
      return;
    case Qt::Key_Escape:
      event->accept();
      emit EscapePressed();
      return;
    default:
      QPlainTextEdit::keyPressEvent(event);
  }
}

void KeyEditor::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  if (FocusMoveCounts(event->reason())) emit Exited();
}
