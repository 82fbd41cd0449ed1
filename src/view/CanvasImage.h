#pragma once
// A drawing surface of the strip view: shows one image at its own size and
// reports clicks in canvas pixels.

#include <QImage>
#include <QWidget>

class CanvasImage : public QWidget {
  Q_OBJECT
 public:
  explicit CanvasImage(QWidget* parent = nullptr);

  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }
  // Replaces the image and sizes the widget to it.
  void SetImage(const QImage& image);
  // A fresh white image of the given size (0 x 0 empties it).
  void Reset(int width, int height);

 signals:
  void Clicked(QPoint position);
  void DoubleClicked(QPoint position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QImage image_;
};
