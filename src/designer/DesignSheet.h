#pragma once
// The sheet of the designer: the template drawn at scale on its paper, with
// millimetre rulers along the top and left, groups as dashed rectangles, key
// outlines with the corners the view gives the series, number labels,
// text areas and the fixed keys' texts (through DrawKeyText, as the views
// and the printer draw them). Selecting, dragging, resizing and the arrow
// keys turn into edits of the design; while the mouse is held the moved
// template is only shown, and the release makes it one step.

#include <QHash>
#include <QImage>
#include <QStaticText>
#include <QWidget>
#include <optional>

#include "designer/TemplateDesign.h"

class DesignSheet : public QWidget {
  Q_OBJECT
 public:
  explicit DesignSheet(TemplateDesign& design, QWidget* parent = nullptr);

  // Pixels (logical) per millimetre.
  double Scale() const { return scale_; }
  void SetScale(double pixelsPerMm);
  // The scale at which a millimetre on the screen is a millimetre: from the
  // screen's size in pixels and in millimetres.
  double TrueSizeScale() const;
  // The largest scale at which the whole sheet fits `viewport`.
  double FitScale(QSize viewport) const;

  Decimal4 GridStep() const { return grid_; }
  void SetGridStep(Decimal4 step) { grid_ = step; }

  // Widget position <-> millimetres from the sheet's corner.
  QPointF ToMm(QPointF pixel) const;
  QPointF ToPixel(QPointF mm) const;
  QRectF ToPixel(const QRectF& mm) const;

  // Draws the sheet (what paintEvent draws) onto any painter.
  void Paint(QPainter& painter, const QRect& exposed) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  enum class Drag { kNone, kMove, kResize, kBand };

  const StripTemplate& Shown() const { return preview_ ? *preview_ : design_.Model(); }
  void DrawRulers(QPainter& painter, const StripSheet& sheet, const QRect& exposed) const;
  void DrawGroup(QPainter& painter, const StripTemplate& model, int group) const;
  void DrawKey(QPainter& painter, const StripTemplate& model, ItemRef item, bool rounded, bool faulty) const;
  void DrawLabelNumber(QPainter& painter, const QRectF& label, int alignment, int number) const;
  void DrawFixedText(QPainter& painter, const TemplateKey& key, const QRectF& area) const;
  void DrawSelection(QPainter& painter, const StripTemplate& model) const;
  QRectF HandleRect(QPointF corner) const;
  Handle HandleAt(QPointF pixel) const;
  void UpdateSize();

  TemplateDesign& design_;
  double scale_ = 4;
  Decimal4 grid_ = Decimal4::FromDouble(0.5);
  Drag drag_ = Drag::kNone;
  Handle handle_ = Handle::kNone;
  QPointF pressMm_;
  QPoint pressPixel_;
  QRectF band_;
  ItemRef bandItem_{-1, -1};  // what lay under a band's start
  std::optional<StripTemplate> preview_;
  // The fixed keys' text images by field, font size and scale.
  mutable QHash<QString, QImage> textCache_;
  mutable QHash<QString, QStaticText> labelTexts_;
  mutable QByteArray labelFont_;  // the family of the painter's font while painting
};
