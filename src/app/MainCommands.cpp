// Commands of the main window that need no part of their own.
#include <QCoreApplication>

#include "app/Main.h"
#include "app/Version.h"

void TFMain::ActionFileExitExecute() { close(); }

void TFMain::ActionHelpAboutExecute() {
  if (windows_.version) windows_.version->ShowModal();
}
