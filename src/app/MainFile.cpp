// The file commands of the main window: the work is done by FileSession;
// the window supplies the strip list and the strip view.
#include <QCloseEvent>
#include <QTreeWidget>

#include "app/Main.h"

void TFMain::ActionFileNewExecute() { fileSession_.ActionFileNewExecute(); }

void TFMain::ActionFileOpenExecute() { fileSession_.ActionFileOpenExecute(); }

void TFMain::ActionFileSaveExecute() { fileSession_.ActionFileSaveExecute(); }

void TFMain::ActionFileSaveAsExecute() { fileSession_.ActionFileSaveAsExecute(); }

bool TFMain::OpenDataFile(const QString& path) {
  CommitPendingKey();
  if (fileSession_.ConfirmDiscard()) return false;
  return fileSession_.OpenFile(path);
}

void TFMain::closeEvent(QCloseEvent* event) {
  if (keyCount_ > 0) RefocusStep();
  if (fileSession_.ConfirmDiscard()) {
    event->ignore();
    return;
  }
  event->accept();
}

void TFMain::CommitPendingKey() {
  if (keyCount_ > 0 && showDetail_) RefocusStep();
  EndKeyEdit();  // also when no focus moved (the window inactive)
}

void TFMain::ClearStripList() { ListView1->clear(); }

int TFMain::StripRowCount() const { return ListView1->topLevelItemCount(); }

void TFMain::ShowFirstStrip() { ShowStrip(1); }
