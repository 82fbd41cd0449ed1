#pragma once
// The controls of one key in one view of the strip: number label, text
// frame, text panel with its picture and face images, and the key editor.
// They paint with the same functions as the strip renderer, so the window
// and a rendered picture cannot disagree.

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

#include "view/StripGeometry.h"

// The number beside a key (transparent: only its digits show).
class NumberLabel : public QWidget {
  Q_OBJECT
 public:
  NumberLabel(const KeyPlan& key, ViewKind view, QWidget* parent);

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
// while the key is selected.
class TextFrame : public QWidget {
  Q_OBJECT
 public:
  explicit TextFrame(QWidget* parent);
  void SetPenWidth(int width);
  int PenWidth() const { return penWidth_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int penWidth_ = 1;
};

// An image inside the text panel: the key's face (its drawn text) or its
// picture, stretched over the image's rectangle.
class KeyImage : public QWidget {
  Q_OBJECT
 public:
  explicit KeyImage(QWidget* parent);
  void SetImage(const QImage& image);
  const QImage& Image() const { return image_; }

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
  QImage image_;
  bool pressed_ = false;
};

// The six controls of a key in one view.
struct KeyControls {
  NumberLabel* label = nullptr;
  TextFrame* frame = nullptr;
  QWidget* panel = nullptr;
  QPlainTextEdit* editor = nullptr;
  KeyImage* picture = nullptr;
  KeyImage* face = nullptr;
};
