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
};

// The in-place editor of a key in the detail view: no word wrap, Tab moves
// the focus on. Enter breaks a line only while the text holds at most one
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

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

// Focus moves that end a key's edit or its selection: not the opening of a
// pop-up menu or list, not a switch to another window.
bool FocusMoveCounts(Qt::FocusReason reason);

// The six controls of a key in one view.
struct KeyControls {
  NumberLabel* label = nullptr;
  TextFrame* frame = nullptr;
  QWidget* panel = nullptr;
  QPlainTextEdit* editor = nullptr;
  KeyImage* picture = nullptr;
  KeyImage* face = nullptr;
};
