// The strip commands of the main window: create, edit and delete strips,
// with the strip list kept in step with the document.
#include <QLabel>
#include <QScopedValueRollback>
#include <QTreeWidget>

#include "app/Main.h"
#include "base/Mainsub.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripCreation.h"
#include "document/StripList.h"
#include "document/Teladd.h"
#include "view/StripGeometry.h"

namespace {

// Each list item keeps the header lines as the document holds them, so that
// texts which do not decode cleanly are written back unchanged.
constexpr int kRowBytesRole = Qt::UserRole;

StripRow RowOfItem(const QTreeWidgetItem* item, int number) {
  StripRow row;
  row.number = number;
  const auto fields = row.Fields();
  for (int c = 0; c < StripRow::kColumnCount; ++c) {
    *fields[c] = item->data(c, kRowBytesRole).toByteArray();
  }
  return row;
}

}  // namespace

void TFMain::FillListItem(QTreeWidgetItem* item, const StripRow& row) {
  const QStringList texts = row.Columns();
  const auto fields = row.Fields();
  for (int c = 0; c < StripRow::kColumnCount; ++c) {
    item->setText(c, texts[c]);
    item->setData(c, kRowBytesRole, *fields[c]);
  }
}

QList<StripRow> TFMain::ListRows() const {
  QList<StripRow> rows;
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
    rows.append(RowOfItem(ListView1->topLevelItem(i), i + 1));
  }
  return rows;
}

void TFMain::AddStripRow(const StripRow& row) {
  auto* item = new QTreeWidgetItem;
  FillListItem(item, row);
  ListView1->addTopLevelItem(item);
}

void TFMain::SelectListRowQuietly(int row) {
  // The caller lays the strip out itself: the selection handler must not.
  // The selection model's signals stay on, as the list repaints its rows
  // from them.
  const QScopedValueRollback<bool> quiet(quietListChange_, true);
  ListView1->clearSelection();
  QTreeWidgetItem* item = ListView1->topLevelItem(row);
  if (!item) return;
  ListView1->setCurrentItem(item);
  item->setSelected(true);
  ListView1->scrollToItem(item);
  if (ListView1->isVisible()) ListView1->setFocus();
}

void TFMain::ShowStrip(int number) {
  if (document_.FindStrip(number) <= 0) return;
  SelectListRowQuietly(number - 1);
  LayOutStrip(number);
}

void TFMain::ActionJimeijoNewExecute() {
  CommitPendingKey();
  if (!windows_.telAdd) return;
  const QList<StripRow> rows = ListRows();
  windows_.telAdd->PrepareCreate(rows, sjis::Encode(SeriesName(currentSeries_)));
  if (windows_.telAdd->exec() != QDialog::Accepted) return;
  const StripEntry entry = windows_.telAdd->resultFields;
  HistoryStep step(*this, "示名条の作成");
  if (!CreateStrip(document_, entry, rows, settings_->Locations().TemplateFolders())) return;
  // The new strip is always the last one.
  const int number = document_.StripCount();
  AddStripRow(RowOfEntry(entry, number));
  ShowStrip(number);
}

void TFMain::ActionJimeijoEditExecute() {
  QTreeWidgetItem* focused = ListView1->currentItem();
  if (!focused || !windows_.telAdd) return;
  CommitPendingKey();
  const int i0 = ListView1->indexOfTopLevelItem(focused);
  windows_.telAdd->PrepareEdit(ListRows(), i0);
  if (windows_.telAdd->exec() != QDialog::Accepted) return;
  // The user may have picked another strip in the dialog.
  const int i = windows_.telAdd->editIndex;
  QTreeWidgetItem* item = ListView1->topLevelItem(i);
  if (!item) return;
  StripEntry entry = windows_.telAdd->resultFields;
  entry.registered = RowOfItem(item, i + 1).registered;  // an edit keeps the registration date
  const StripRow row = RowOfEntry(entry, i + 1);
  HistoryStep step(*this, "示名条の編集");
  FillListItem(item, row);
  WriteStripHeader(document_, i + 1, row);
  if (i != i0) {
    ShowStrip(i + 1);
  } else if (currentStripNumber_ == i + 1 && keyCount_ > 0) {
    pnlText->setText(StripCaption(document_.lines(), stripStartLine_));
  }
}

void TFMain::ActionJimeijoDeleteExecute() {
  QList<int> selected;
  for (QTreeWidgetItem* item : ListView1->selectedItems()) {
    selected.append(ListView1->indexOfTopLevelItem(item));
  }
  if (selected.isEmpty()) return;
  CommitPendingKey();
  QTreeWidgetItem* focused = ListView1->currentItem();
  const int i0 = focused ? ListView1->indexOfTopLevelItem(focused) : -1;
  if (Prompts::Confirm(QStringLiteral("示名条データ削除します。\nよろしいですか？"), PromptButtons::YesNo,
                       PromptAnswer::No) != PromptAnswer::Yes) {
    return;
  }
  HistoryStep step(*this, "示名条の削除");
  StripDeletion deletion;
  try {
    deletion = DeleteStripRows(document_, selected, i0);
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
    return;
  }
  {
    const QScopedValueRollback<bool> quiet(quietListChange_, true);
    for (int row : deletion.removedRows) delete ListView1->takeTopLevelItem(row);
  }
  if (ListView1->topLevelItemCount() == 0) {
    ClearStripView();
    return;
  }
  ShowStrip(deletion.rowToShow + 1);
}
