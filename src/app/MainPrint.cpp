// The print commands of the main window: the print adjustment, strip card
// printing and strip list printing. Each checks for a printer, commits the
// key being typed and hands over to its print window.
#include <QTreeWidget>

#include "app/Main.h"
#include "base/PrintSystem.h"
#include "base/Prompts.h"
#include "print/Adjust.h"
#include "print/Printjimeijocard.h"
#include "print/Printjimeijolist.h"

namespace {

// The rows to print: every selected row in list order, else the focused one.
QList<int> PrintSelection(const QTreeWidget* list) {
  QList<int> rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    if (list->topLevelItem(i)->isSelected()) rows.append(i);
  }
  if (rows.isEmpty() && list->currentItem()) rows.append(list->indexOfTopLevelItem(list->currentItem()));
  return rows;
}

const PrintAdjustment& NoAdjustment() {
  static const PrintAdjustment none;
  return none;
}

}  // namespace

void TFMain::ActionFileSetupExecute() {
  if (!PrintSystem::Current().HasPrinters()) {
    Prompts::Error(QString::fromUtf8(kNoPrinterText));
    return;
  }
  if (windows_.adjust) windows_.adjust->ShowModal();
}

void TFMain::ActionFilePrintExecute() {
  if (ListView1->topLevelItemCount() == 0) return;
  if (!PrintSystem::Current().HasPrinters()) {
    Prompts::Error(QString::fromUtf8(kNoPrinterMainText));
    return;
  }
  CommitPendingKey();
  const QList<int> selection = PrintSelection(ListView1);
  if (selection.isEmpty() || !windows_.printCard) return;
  const PrintAdjustment& adjustment = windows_.adjust ? windows_.adjust->Adjustment() : NoAdjustment();
  windows_.printCard->ShowModal(document_, selection, adjustment);
}

void TFMain::ActionFilePrintListExecute() {
  if (ListView1->topLevelItemCount() == 0) return;
  if (!PrintSystem::Current().HasPrinters()) {
    Prompts::Error(QString::fromUtf8(kNoPrinterMainText));
    return;
  }
  CommitPendingKey();
  if (windows_.printList) windows_.printList->ShowModal([this] { return ListRows(); });
}
