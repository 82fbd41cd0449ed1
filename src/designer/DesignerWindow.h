#pragma once
// "示名条タイプの編集": the window in which a strip type is drawn in
// millimetres and saved as a template into the user's template folder. It
// edits a template only, never the open strip document; the main window
// merely opens it.

#include <QMainWindow>
#include <functional>

#include "base/FileLocations.h"
#include "designer/TemplateDesign.h"
#include "print/CardPrint.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollArea;
class DesignSheet;
class DesignPanel;

inline constexpr char kDesignerTitle[] = "示名条タイプの編集";

class DesignerWindow : public QMainWindow {
  Q_OBJECT
 public:
  using AdjustmentSource = std::function<PrintAdjustment()>;
  DesignerWindow(const FileLocations& locations, AdjustmentSource adjustment, QWidget* parent = nullptr);

  TemplateDesign& Design() { return design_; }
  DesignSheet* Sheet() const { return sheet_; }
  DesignPanel* Panel() const { return panel_; }
  QLineEdit* NameField() const { return name_; }
  QLabel* SheetNoteLabel() const { return sheetNote_; }
  QListWidget* FaultList() const { return faultList_; }
  QCheckBox* SeriesBox(int series) const { return seriesBoxes_.value(series); }
  QLineEdit* FreeTitleField() const { return freeTitle_; }

  // A new, empty type (after the question about unsaved changes).
  void NewType();
  // Opens a template file to edit; false (with a message) when it cannot be read.
  bool OpenTemplate(const QString& path);
  // Saves under the type name into the user's folder; false when refused or cancelled.
  bool Save();
  // Saves a copy under another type name, which the design then carries.
  bool SaveAs(const QString& stripType);
  // Adds the keys of a grid description as one step; false when refused.
  bool AddGridKeys(const GridDescription& grid);
  // The test strip on the current printer, and as a PDF file chosen in a dialog.
  bool TestPrint();
  bool ExportPdf();
  // Asks about unsaved changes as the main window does; true to go on.
  bool ConfirmDiscard();

  void FitSheet();
  void TrueSize();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildHeader();
  void RefreshHeader();
  void RefreshFaults();
  void RefreshTitle();
  void TitleToggled();
  bool RefuseErrors(const QString& action);
  void AskOpen();
  void AskSaveAs();
  void AskGrid();
  void AskRenumber();
  void AskGridStep();
  void EditSelection(const QString& name, const std::function<void(StripTemplate&, const Selection&)>& change);

  FileLocations locations_;
  AdjustmentSource adjustment_;
  TemplateDesign design_;
  DesignSheet* sheet_ = nullptr;
  DesignPanel* panel_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLabel* sheetNote_ = nullptr;
  QList<QCheckBox*> seriesBoxes_;
  QLineEdit* freeTitle_ = nullptr;
  QListWidget* faultList_ = nullptr;
  QLabel* faultSummary_ = nullptr;
  bool fitOnShow_ = true;
};
