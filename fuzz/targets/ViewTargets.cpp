// Laying strips out and drawing key text, as the views and the printer do.
#include <QImage>
#include <QPainter>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "base/LineIO.h"
#include "base/Numbers.h"
#include "document/DataFile.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"
#include "view/KeyText.h"
#include "view/StripGeometry.h"

namespace {

// Strips laid out per input: enough for every shape, few enough to stay fast.
constexpr size_t kStripsPerInput = 16;

void PlanOneStrip(const Lines& lines, qsizetype start) {
  StripPlan plan;
  try {
    plan = PlanStrip(lines, start);
    StripCaption(lines, start);
  } catch (const DocumentError&) {
    return;
  }
  for (const KeyPlan& key : plan.keys) {
    // The plan and the walk agree on where every key block starts.
    FUZZ_ASSERT(KeyBlockLine(lines, start, key.index) == key.blockLine);
    try {
      ReadKeyTextFormat(lines, key.blockLine);
    } catch (const DocumentError&) {
    }
  }
}

}  // namespace

int FuzzStripPlan(const uint8_t* data, size_t size) {
  const DataFileContent content = ParseDataFile(FuzzBytes(data, size));
  if (!content.ok()) return 0;
  StripDocument document;
  document.SetLines(content.lines);
  const auto& separators = document.StripSeparators();
  for (size_t i = 0; i < separators.size() && i < kStripsPerInput; ++i) {
    PlanOneStrip(document.lines(), separators[i].line + 1);
  }
  return 0;
}

int FuzzKeyText(const uint8_t* data, size_t size) {
  EnsureGuiApplication();
  // The input is a key block from its line 0.
  const Lines lines = SplitLines(FuzzBytes(data, size));
  QImage image(120, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const int pointSize = lines.size() > layout::kFontSize ? ParseIntOr(lines[layout::kFontSize], 9) : 9;
  try {
    DrawKeyText(painter, Decimal4::FromInt(2), Decimal4::FromInt(3), Decimal4::FromInt(118),
                Decimal4::FromInt(37), lines, 0, pointSize);
  } catch (const DocumentError&) {
  }
  return 0;
}
