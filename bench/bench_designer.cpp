// The strip type designer while 100 selected keys are dragged: each frame is
// a mouse move (the moved template worked out) and a full repaint of the
// part of the sheet a window shows (1000 x 800 pixels), at the fitted scale,
// at true size and at twice that, at device pixel ratios 1 and 2. Prints the
// fastest, median, mean and worst frame in milliseconds (on a shared machine
// the fastest is the least disturbed).
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "Timing.h"
#include "base/Mainsub.h"
#include "base/ShiftJis.h"
#include "designer/DesignSheet.h"
#include "designer/DesignerWindow.h"

namespace {

// 25 rows x 4 columns of 38 x 8 mm keys with numbers, on a B5 sheet, and every key selected.
StripTemplate HundredKeys() {
  GridDescription grid;
  grid.groups = {GridGroup{25, 4, std::nullopt, std::nullopt}};
  grid.keyWidth = Decimal4::FromInt(38);
  grid.keyHeight = Decimal4::FromInt(8);
  grid.title = sjis::Encode(QStringLiteral("Ｒｕシリーズ主装置"));
  StripTemplate t = TemplateOfGrid(grid);
  // Four fixed keys among them, drawn with their text.
  for (int k = 96; k < 100; ++k) t.groups[0].keys[k].keyNumber = TemplateKey::FixedKeyField(k, 9, "FIXED");
  return t;
}

void Send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

struct Frames {
  double fastest = 0;
  double median = 0;
  double mean = 0;
  double worst = 0;
};

Frames DragFrames(DesignerWindow& window, double scale, qreal ratio, int frames) {
  DesignSheet* sheet = window.Sheet();
  sheet->SetScale(scale);
  TemplateDesign& design = window.Design();
  Selection keys;
  for (const ItemRef& item : AllItems(design.Model())) {
    if (!item.IsGroup()) keys << item;
  }
  design.Select(keys);
  // What a window shows: a viewport of 1000 x 800 pixels from the sheet's corner.
  const QRect viewport = QRect(QPoint(0, 0), sheet->size()).intersected(QRect(0, 0, 1000, 800));
  QImage target((QSizeF(viewport.size()) * ratio).toSize(), QImage::Format_RGB32);
  target.setDevicePixelRatio(ratio);
  const QPointF from = sheet->ToPixel(SheetRectOf(design.Model(), keys[30]).center());
  Send(sheet, QEvent::MouseButtonPress, from, Qt::LeftButton);
  std::vector<double> times;
  for (int i = 0; i < frames; ++i) {
    const auto start = std::chrono::steady_clock::now();
    Send(sheet, QEvent::MouseMove, from + QPointF(i % 40, (i % 25) * 0.7), Qt::LeftButton);
    QPainter painter(&target);
    sheet->Paint(painter, viewport);
    painter.end();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  Send(sheet, QEvent::MouseButtonRelease, from, Qt::NoButton);
  design.History().undo();
  Frames result;
  for (double t : times) result.mean += t / times.size();
  std::sort(times.begin(), times.end());
  result.fastest = times.front();
  result.median = times[times.size() / 2];
  result.worst = times.back();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterFontSubstitutes();
  QTemporaryDir dir;
  DesignerWindow window(FileLocations(dir.path()), [] { return PrintAdjustment{}; });
  window.Design().Reset(HundredKeys(), QStringLiteral("百キー"), QString());
  window.resize(1200, 900);
  window.show();
  QApplication::processEvents();
  std::printf("Dragging 100 selected keys: one frame = mouse move + full repaint of the sheet\n");
  const double fit = window.Sheet()->FitScale(QSize(900, 800));
  const double trueSize = window.Sheet()->TrueSizeScale();
  for (const auto& [name, scale] : {std::pair{"fitted", fit}, std::pair{"true size", trueSize}, std::pair{"x2 true size", trueSize * 2}}) {
    for (qreal ratio : {1.0, 2.0}) {
      const Frames f = DragFrames(window, scale, ratio, 120);
      std::printf("  %-13s %5.2f px/mm, ratio %.0f: fastest %6.2f, median %6.2f, mean %6.2f, worst %6.2f ms a frame\n",
                  name, scale, ratio, f.fastest, f.median, f.mean, f.worst);
    }
  }
  // The same frames on an empty sheet: what the paper and the rulers alone cost.
  window.Design().Reset(StripTemplate{}, QStringLiteral("百キー"), QString());
  window.Design().Edit("title", [](StripTemplate& t) { t.title = HundredKeys().title; });
  for (qreal ratio : {1.0, 2.0}) {
    DesignSheet* sheet = window.Sheet();
    sheet->SetScale(fit);
    const QRect viewport = QRect(QPoint(0, 0), sheet->size()).intersected(QRect(0, 0, 1000, 800));
    QImage target((QSizeF(viewport.size()) * ratio).toSize(), QImage::Format_RGB32);
    target.setDevicePixelRatio(ratio);
    const double ms = bench::FastestMilliseconds([&] {
      QPainter painter(&target);
      sheet->Paint(painter, viewport);
    }, {}, 30);
    std::printf("  empty sheet   %5.2f px/mm, ratio %.0f: fastest %5.2f ms a frame\n", fit, ratio, ms);
  }
  return 0;
}
