#pragma once
// A benchmark that measures through the real main window: offscreen unless
// a platform is set, the font stand-ins registered, the window shown and
// active, with a private settings folder.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "app/Main.h"
#include "base/Mainsub.h"

namespace bench {

// Runs `measure` on an active main window; the exit code: 1 when the window
// does not become active or `measure` fails.
inline int WithMainWindow(int argc, char** argv, const std::function<bool(TFMain&, const QString& folder)>& measure) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterFontSubstitutes();
  QTemporaryDir folder;
  TFMain main(folder.path());
  main.show();
  main.activateWindow();
  for (int i = 0; i < 200 && !main.isActiveWindow(); ++i) QApplication::processEvents();
  if (!main.isActiveWindow() || !measure(main, folder.path())) {
    std::fprintf(stderr, "%s: the window did not open the bench file\n", argv[0]);
    return 1;
  }
  return 0;
}

}  // namespace bench
