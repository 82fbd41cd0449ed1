#pragma once
// The preview of a CSV import, "CSVの取り込み": every row of the file with
// what it would do ("作成", "更新", "変更なし") or why it cannot be taken,
// before anything changes. OK is offered only when every row is valid.

#include <QDialog>

#include "document/StripCsv.h"

class QLabel;
class QPushButton;
class QTreeWidget;

class TFCsvImport : public QDialog {
  Q_OBJECT
 public:
  explicit TFCsvImport(QWidget* parent = nullptr);

  // Fills the list from `plan`, the import of `fileName`.
  void ShowPlan(const QString& fileName, const CsvImportPlan& plan);

  // Controls, by their object names.
  QLabel* LabelFile = nullptr;
  QTreeWidget* ListViewRows = nullptr;
  QLabel* LabelSummary = nullptr;
  QPushButton* ButtonOk = nullptr;
  QPushButton* ButtonCancel = nullptr;
};
