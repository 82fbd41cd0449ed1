#include "view/CanvasImage.h"

#include <QMouseEvent>
#include <QPainter>

CanvasImage::CanvasImage(QWidget* parent) : QWidget(parent) { resize(0, 0); }

void CanvasImage::SetImage(const QImage& image) {
  image_ = image;
  // Sized in logical pixels: a sharp image on a 200 % screen has twice as
  // many device pixels.
  resize(image_.deviceIndependentSize().toSize());
  update();
}

void CanvasImage::Reset(int width, int height) {
  if (width <= 0 || height <= 0) {
    SetImage(QImage());
    return;
  }
  QImage blank(width, height, QImage::Format_RGB32);
  blank.setDotsPerMeterX(3780);  // 96 dots per inch, as the screen
  blank.setDotsPerMeterY(3780);
  blank.fill(Qt::white);
  SetImage(blank);
}

void CanvasImage::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
}

void CanvasImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit Clicked(event->position().toPoint());
  }
}

void CanvasImage::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit DoubleClicked(event->position().toPoint());
}
