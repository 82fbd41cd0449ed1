#pragma once
// The yardstick of the layout benchmarks: a strip's key faces of the detail
// view drawn straight into one image, with no widget and no image per key.
#include <QImage>
#include <QPainter>

#include "Timing.h"
#include "view/KeyText.h"
#include "view/StripGeometry.h"
#include "view/StripRenderer.h"

namespace bench {

inline double FacesInOneImageMilliseconds(const Lines& lines, const StripPlan& plan, int runs = 15) {
  QImage sheet = NewScreenImage(plan.view[kDetailView].size);
  return FastestMilliseconds([&] {
    QPainter painter(&sheet);
    for (const KeyPlan& key : plan.keys) {
      const QRect& p = key.view[kDetailView].panel;
      DrawKeyText(painter, Decimal4::FromInt(p.left()), Decimal4::FromInt(p.top()),
                  Decimal4::FromInt(p.left() + p.width()), Decimal4::FromInt(p.top() + p.height()), lines,
                  key.blockLine, key.view[kDetailView].textPointSize);
    }
  }, {}, runs);
}

}  // namespace bench
