// Commands of the main window whose work is not built yet do nothing; the
// others call the parts of the program that carry them out.
#include <QCoreApplication>

#include "app/Main.h"
#include "app/Version.h"

void TFMain::ActionFileExitExecute() { close(); }

void TFMain::ActionEditFindExecute() {}
void TFMain::ActionEditReplaceExecute() {}

void TFMain::ActionHelpAboutExecute() {
  if (windows_.version) windows_.version->ShowModal();
}
