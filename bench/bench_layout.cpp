// Lays out a 100-key strip (the plan of both views) and draws it, and prints
// the time per layout next to the time to draw the same 100 key faces into
// one image.
#include <QGuiApplication>
#include <QPainter>
#include <chrono>
#include <cstdio>
#include <functional>

#include "base/Mainsub.h"
#include "base/ShiftJis.h"
#include "document/StripDocument.h"
#include "view/KeyText.h"
#include "view/KeyTextLoad.h"
#include "view/StripGeometry.h"
#include "view/StripRenderer.h"

namespace {

QByteArray Sj(const char* utf8) { return sjis::Encode(QString::fromUtf8(utf8)); }
QByteArray Num(double v) { return QByteArray::number(v); }

// A Te strip of four groups of 25 keys, each key with two text lines.
Lines HundredKeyStrip() {
  Lines lines = {"file-version:01.01.00.00", "1", "1" + QByteArray(10, '\xFF')};
  lines += {"2001", Sj("営業部"), Sj("山田"), "2017/03/05 14:07", Sj("Ｔｅシリーズ主装置"),
            Sj("Ｔｅ標準"), "4"};
  for (int g = 0; g < 4; ++g) {
    lines += {"1", Num(4 + g * 36), "5", "34", "200", "25"};
    for (int i = 0; i < 25; ++i) {
      const double y = 1 + i * 7.9;
      lines += {"1", Num(y), "32", "7.5", "1.5", Num(y + 0.5), "4", "3", Sj("ＭＳ Ｐゴシック"), "9",
                "0", "0", "0", "1", QByteArray::number(g * 25 + i + 1), "7", Num(y + 0.5), "24",
                "6.5", Sj("ＭＳ 明朝"), "9", "0,16777215", "0", "0", "2", "", "", "", "", "", "",
                "", "2", Sj("外線転送"), Sj("営業部　代表")};
    }
  }
  return lines;
}

// Mean milliseconds per run of `work` over `runs` runs, after one warm-up.
double MillisecondsPerRun(int runs, const std::function<void()>& work) {
  work();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) work();
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / runs;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  RegisterFontSubstitutes();

  StripDocument document;
  document.SetLines(HundredKeyStrip());
  const qsizetype start = 3;
  const StripPlan plan = PlanStrip(document.lines(), start);
  if (plan.keys.size() != 100 || plan.tooMany) {
    std::fprintf(stderr, "the bench strip did not lay out 100 keys\n");
    return 1;
  }
  const int runs = 50;

  const double planMs = MillisecondsPerRun(runs, [&] { PlanStrip(document.lines(), start); });
  const double cutMs = MillisecondsPerRun(runs, [&] { CutLongKeyTextLines(document, plan); });
  const double canvasMs = MillisecondsPerRun(runs, [&] {
    RenderCanvas(plan, kDetailView);
    RenderCanvas(plan, kAllView);
  });
  // One face image per key and view, as the widgets get them.
  const double facesMs = MillisecondsPerRun(runs, [&] {
    for (const KeyPlan& key : plan.keys) {
      RenderKeyFace(document.lines(), key, kDetailView);
      RenderKeyFace(document.lines(), key, kAllView);
    }
  });
  // The same 100 faces of the detail view drawn straight into one image.
  QImage sheet = NewScreenImage(plan.view[kDetailView].size);
  const double oneImageMs = MillisecondsPerRun(runs, [&] {
    QPainter painter(&sheet);
    for (const KeyPlan& key : plan.keys) {
      const QRect& p = key.view[kDetailView].panel;
      DrawKeyText(painter, Decimal4::FromInt(p.left()), Decimal4::FromInt(p.top()),
                  Decimal4::FromInt(p.left() + p.width()), Decimal4::FromInt(p.top() + p.height()),
                  document.lines(), key.blockLine, key.view[kDetailView].textPointSize);
    }
  });
  const double stripMs = MillisecondsPerRun(runs, [&] {
    RenderStrip(document.lines(), plan, kDetailView);
    RenderStrip(document.lines(), plan, kAllView);
  });

  std::printf("100-key strip, both views, mean of %d runs (ms)\n", runs);
  std::printf("  layout plan (geometry of both views)      %8.3f\n", planMs);
  std::printf("  cutting text lines to 20 bytes            %8.3f\n", cutMs);
  std::printf("  canvases (groups, key outlines), 2 views  %8.3f\n", canvasMs);
  std::printf("  200 face images (100 keys x 2 views)      %8.3f\n", facesMs);
  std::printf("  layout without widgets (sum of the above) %8.3f\n",
              planMs + cutMs + canvasMs + facesMs);
  std::printf("  100 key faces drawn into one image        %8.3f\n", oneImageMs);
  std::printf("  whole strip rendered, both views          %8.3f\n", stripMs);
  return 0;
}
