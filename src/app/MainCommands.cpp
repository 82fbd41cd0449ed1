// Commands of the main window whose work is not built yet do nothing; the
// others call the parts of the program that carry them out.
#include <QCoreApplication>

#include "app/Main.h"
#include "app/Version.h"

void TFMain::ActionFileSetupExecute() {}
void TFMain::ActionFilePrintExecute() {}
void TFMain::ActionFilePrintListExecute() {}
void TFMain::ActionFileExitExecute() { close(); }


void TFMain::ActionKeyLabelEditExecute() {}

void TFMain::ActionFormatFontExecute() {}
void TFMain::ActionFormatColorExecute() {}
void TFMain::ActionFormatBColorExecute() {}
void TFMain::ActionFormatBoldExecute() {}
void TFMain::ActionFormatItalicExecute() {}
void TFMain::ActionFormatLeftExecute() {}
void TFMain::ActionFormatCenterExecute() {}
void TFMain::ActionFormatRightExecute() {}

void TFMain::ActionHelpAboutExecute() {
  if (windows_.version) windows_.version->ShowModal();
}
