#pragma once
// "テンプレートの管理": every strip type found in the template folders (its
// folder, the series it serves, group and key counts, its check result and
// a small preview drawn as the all view draws a strip of it), the files not
// offered with the reason, and the strip types the open document uses that
// no folder holds. Import, export and delete go through TemplateStore; the
// dialog only shows and asks.

#include <QDialog>
#include <QList>

#include "base/FileLocations.h"
#include "document/TemplateCheck.h"
#include "document/TemplateStore.h"

class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class StripDocument;

class TemplateManager : public QDialog {
  Q_OBJECT

 public:
  TemplateManager(const FileLocations& locations, const StripDocument& document, QWidget* parent = nullptr);

  // Reads the folders again and rebuilds the list, keeping the selection.
  void Refresh();
  // Selects the row of a strip type; false when there is none.
  bool SelectType(const QString& stripType);
  // The file of the selected row (empty for a type without a template).
  QString SelectedPath() const;
  // Where more buttons go (the strip type designer's 新規 and 編集), at the
  // start of the button row.
  QHBoxLayout* ExtraButtonSlot() const { return extraButtons_; }

  // Column of the list, for the tests.
  enum Column { kType = 0, kFolder, kSeries, kGroups, kKeys, kCheck, kColumnCount };
  QTreeWidget* List() const { return list_; }

 signals:
  // The user asked to save the type of strip `number` as a template.
  void SaveStripTypeRequested(int number);

 private:
  void ShowSelected();
  void ImportTemplate();
  void ExportTemplate();
  void DeleteTemplate();
  void SaveStripType();
  void ShowPreview(const Lines& lines, qsizetype stripStart);

  TemplateStore store_;
  const StripDocument& document_;
  QList<TemplateFileInfo> files_;
  QList<UnservedStripType> unserved_;

  QTreeWidget* list_ = nullptr;
  QLabel* preview_ = nullptr;
  QListWidget* faults_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* deleteButton_ = nullptr;
  QPushButton* saveTypeButton_ = nullptr;
  QHBoxLayout* extraButtons_ = nullptr;
};
