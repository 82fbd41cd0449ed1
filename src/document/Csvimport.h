#pragma once
// The preview of a CSV import, "CSVの取り込み": every row of the file with
// what it would do ("作成", "更新", "変更なし") or why it cannot be taken,
// before anything changes; under each row the cells it changes (old → new),
// cells that look rewritten by a spreadsheet marked as warnings. The text
// of the chosen row (all errors at first) stands whole in a box below, to
// read and copy. OK is offered only when every row is valid and, when there
// are warnings, once the user has checked that they are accepted.

#include <QDialog>

#include "document/StripCsv.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFCsvImport : public QDialog {
  Q_OBJECT
 public:
  explicit TFCsvImport(QWidget* parent = nullptr);

  // Fills the list from `plan`, the import of `fileName`. The plan must
  // outlive the dialog: a row's changes are listed when it is opened.
  void ShowPlan(const QString& fileName, const CsvImportPlan& plan);

  // Controls, by their object names.
  QLabel* LabelFile = nullptr;
  QTreeWidget* ListViewRows = nullptr;
  QPlainTextEdit* MemoDetail = nullptr;
  QLabel* LabelSummary = nullptr;
  QCheckBox* CheckAcceptWarnings = nullptr;
  QPushButton* ButtonOk = nullptr;
  QPushButton* ButtonCancel = nullptr;

 private:
  void AddChanges(QTreeWidgetItem* item);
  void ShowDetail(QTreeWidgetItem* item);
  void UpdateOk();

  const CsvImportPlan* plan_ = nullptr;
};
