#include <QGuiApplication>

#include "FuzzTargets.h"
#include "base/Mainsub.h"

const std::vector<FuzzTarget>& FuzzTargets() {
  static const std::vector<FuzzTarget> targets = {
      {"datafile", FuzzDataFile},   {"oldlayout", FuzzOldLayout}, {"stripplan", FuzzStripPlan},
      {"keytext", FuzzKeyText},     {"template", FuzzTemplate},   {"keylabels", FuzzKeyLabels},
      {"ini", FuzzIniFile},         {"base64", FuzzBase64},       {"shiftjis", FuzzShiftJis},
      {"numbers", FuzzNumbers},     {"picture", FuzzPicture},     {"csv", FuzzCsv},
  };
  return targets;
}

void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
  RegisterFontSubstitutes();
}
