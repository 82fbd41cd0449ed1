// Lays out a 100-key strip (the plan of both views) and draws it, and prints
// the time per layout next to the time to draw the same 100 key faces into
// one image.
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <functional>

#include "base/Mainsub.h"
#include "document/StripDocument.h"
#include "view/KeyText.h"
#include "view/KeyTextLoad.h"
#include "view/StripGeometry.h"
#include "view/StripRenderer.h"
#include "FacesInOneImage.h"
#include "HundredKeyStrip.h"

using bench::MillisecondsPerRun;

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  RegisterFontSubstitutes();

  StripDocument document;
  document.SetLines(bench::HundredKeyStrip());
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
  const double oneImageMs = bench::FacesInOneImageMilliseconds(document.lines(), plan, runs);
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
  std::printf("  100 key faces drawn into one image        %8.3f  (fastest of %d)\n", oneImageMs, runs);
  std::printf("  whole strip rendered, both views          %8.3f\n", stripMs);
  return 0;
}
