#pragma once
// The controls of one key in one view of the strip: number label, text
// frame, text panel with its picture and face images, and the key editor.
// They paint with the same functions as the strip renderer, so the window
// and a rendered picture cannot disagree.

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>

#include "view/StripGeometry.h"

class QInputMethodEvent;
class QKeyEvent;
class QPainter;

// The number beside a key (transparent: only its digits show).
class NumberLabel : public QWidget {
  Q_OBJECT
 public:
  NumberLabel(const KeyPlan& key, ViewKind view, QWidget* parent);
  void SetKey(const KeyPlan& key);

 signals:
  void DoubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  KeyPlan key_;
  ViewKind view_;
};

// The white box around an editable key's text area; its pen is 2 px wide
// while the key is selected. It takes the mouse events that land on it, so
// that a click on a key's border is not a click on the canvas below.
class TextFrame : public QWidget {
  Q_OBJECT
 public:
  explicit TextFrame(QWidget* parent);
  void SetPenWidth(int width);
  int PenWidth() const { return penWidth_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  int penWidth_ = 1;
};

// An image inside the text panel: the key's face (its drawn text) or its
// picture, stretched over the image's rectangle. A face may be given as the
// way to draw it: it is drawn when first painted or asked for, so that
// keys out of sight cost nothing when a strip is laid out.
class KeyImage : public QWidget {
  Q_OBJECT
 public:
  explicit KeyImage(QWidget* parent);
  void SetImage(const QImage& image);
  void SetImageSource(std::function<QImage()> source);
  const QImage& Image() const;
  // A red corner over the face on screen only, never in its image: the
  // key's text does not fit its text area.
  void SetOverflowMark(bool on);
  bool OverflowMark() const { return overflowMark_; }

 signals:
  void MouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
  void Clicked();
  void DoubleClicked();
  void ContextMenuRequested(QPoint globalPosition);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  mutable QImage image_;
  mutable std::function<QImage()> source_;
  bool pressed_ = false;
  bool overflowMark_ = false;
};

// The in-place editor of a key in the detail view: no word wrap, Tab moves
// the focus on. What a line holds past 20 bytes shows in red. Enter breaks a line only while the text holds at most one
// line; an input method's confirming Enter is no key press and so never
// counts. Ctrl+Delete is the window's delete command, not a word deletion;
// Ctrl+Z and Ctrl+Y are the window's once the typing has nothing to undo.
// Losing the focus to a pop-up menu or another window keeps the
// edit going, as menus and window switches do not end it.
class KeyEditor : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit KeyEditor(QWidget* parent);

 signals:
  void EscapePressed();
  void Exited();
  // The caret's line (0-based) and its length in Shift_JIS bytes, after
  // every change of the text or move of the caret.
  void LineBytesChanged(int line, int bytes);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Marks the part of each line past the 20 bytes the commit keeps (on
  // screen only: the text itself is not changed until the commit cuts it).
  void MarkOverLimit();
  void ReportLineBytes();
};

// Focus moves that end a key's edit or its selection: not the opening of a
// pop-up menu or list, not a switch to another window.
bool FocusMoveCounts(Qt::FocusReason reason);

// What a key press or an input method event on a key's focused text panel
// does: nothing, open the editor and type it (a printable character, a
// composition), or open the editor with the caret at the end (Enter, F2).
enum class PanelKeyAction { None, StartTyping, OpenAtEnd };
PanelKeyAction PanelKeyActionOf(const QKeyEvent& event);
PanelKeyAction PanelKeyActionOf(const QInputMethodEvent& event);

// The mark of a face whose text does not fit, drawn over the face's rectangle.
void DrawOverflowMark(QPainter& painter, const QRect& face);

// The six controls of a key in one view.
struct KeyControls {
  NumberLabel* label = nullptr;
  TextFrame* frame = nullptr;
  QWidget* panel = nullptr;
  QPlainTextEdit* editor = nullptr;
  KeyImage* picture = nullptr;
  KeyImage* face = nullptr;
};
