#pragma once
// The strip entry dialog: who a strip is for. In creation mode it offers the
// strip types of the current series and the strips a new one may copy; in
// edit mode it edits the header of a strip, or of another strip picked in
// its extension-number list. It never touches the document: OK fills the
// result fields and the caller writes them.

#include <QDateTime>
#include <QDialog>
#include <QList>
#include <functional>

#include "document/EntryFields.h"
#include "document/StripCreation.h"
#include "document/StripRow.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TSettings;

class TFTelAdd : public QDialog {
  Q_OBJECT
 public:
  explicit TFTelAdd(TSettings& settings, QWidget* parent = nullptr);
  ~TFTelAdd() override;

  // Set by the caller before showing. The series is the main window's
  // current one (creation mode; edit mode takes the edited row's series).
  bool editMode = false;
  int editIndex = 0;  // 0-based row of the strip being edited; the dialog
                      // changes it when another strip is picked
  StripEntry resultFields;  // preset by the caller, filled by OK
  QList<StripRow> rows;
  QByteArray currentSeries;

  // Presets for the two callers: creation empties the result fields; edit
  // takes them from row `index`.
  void PrepareCreate(const QList<StripRow>& listRows, const QByteArray& seriesName);
  void PrepareEdit(const QList<StripRow>& listRows, int index);

  // The clock of the registration date (tests fix it).
  void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

  // Handlers, named after their controls and events.
  void FormShow();
  void cmbTypeChange();
  void ComboBoxExternalChange();
  void Edit1Change();
  void UpdateOkButton();
  void ButtonOkClick();

  // Controls, named as the dialog's layout names them.
  QGroupBox* GroupBox1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* pnlSeries = nullptr;
  QLabel* Label3 = nullptr;
  QComboBox* cmbType = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QComboBox* ComboBoxExternal = nullptr;
  QLabel* Label5 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLabel* Label6 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QLabel* Label4 = nullptr;
  QComboBox* ComboBox3 = nullptr;
  QWidget* Panel1 = nullptr;
  QPushButton* ButtonOk = nullptr;
  QPushButton* ButtonCancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void ShowForCreation();
  void ShowForEdit();
  void ShowSeries(const QByteArray& seriesName);
  // Fills cmbType with the strip types offered for the shown series.
  void FillStripTypes();
  void SelectStripType(const QByteArray& stripType);
  QByteArray ChosenStripType() const;
  bool ValidRow(int index) const { return index >= 0 && index < rows.size(); }
  QWidget* ExtensionControl() const;
  // The number before the change and the number OK would store (the
  // loaded bytes while the number shown is unchanged).
  QByteArray NumberBefore() const;
  QByteArray NumberAfter() const;
  bool NumberExists(const QByteArray& number) const;

  TSettings& settings_;
  QByteArray seriesShown_;
  // The strip whose header the boxes were loaded with (edit mode), empty in
  // creation mode.
  StripRow loaded_;
  std::function<QDateTime()> clock_;
};
