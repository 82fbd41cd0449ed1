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
}

void TFMain::ClearStripList() { ListView1->clear(); }

void TFMain::AddStripRow(const StripRow& row) {
  auto* item = new QTreeWidgetItem(row.Columns());
  ListView1->addTopLevelItem(item);
}

int TFMain::StripRowCount() const { return ListView1->topLevelItemCount(); }

void TFMain::ShowFirstStrip() {
  QTreeWidgetItem* first = ListView1->topLevelItem(0);
  if (!first) return;
  // Selecting the row lays strip 1 out and makes its series current.
  ListView1->clearSelection();
  ListView1->setCurrentItem(first);
  first->setSelected(true);
  if (ListView1->isVisible()) ListView1->setFocus();
  if (currentStripNumber_ != 1) {
    stripStartLine_ = 3;
    BuildStripView();
    currentStripNumber_ = 1;
  }
}
