// Test programs run with a QApplication on the offscreen platform, with the
// font stand-ins the program registers at start-up.
#include <QApplication>
#include <gtest/gtest.h>

#include "base/Mainsub.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
