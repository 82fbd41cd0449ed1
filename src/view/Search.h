#pragma once
// The find and replace dialog: modeless, on top of the main window, kept
// for the life of the program. Each press of its button hands the texts and
// flags to the search host (the main window), which does the work.

#include <QDialog>

#include "view/KeySearch.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TSettings;

class TFSearch : public QDialog {
  Q_OBJECT
 public:
  explicit TFSearch(TSettings& settings, QWidget* parent = nullptr);

  void SetHost(SearchHost* host) { host_ = host; }
  // Sets the mode and shows the dialog arranged for it, centred on the
  // desktop, the focus in the search text.
  void ShowMode(SearchMode mode);
  SearchMode Mode() const { return mode_; }
  // The texts and flags of the last press; emptied by cancel.
  const SearchRequest& Stored() const { return stored_; }

  void FormShow();
  void btnOkClick();
  void btnReplaceAllClick();
  void btnCancelClick();

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnReplaceAll = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;

 public slots:
  // Esc, the cancel button and the close box.
  void reject() override;

 private:
  void CreateControls();
  void StoreRequest();
  // Runs `work` with the dialog disabled, so that presses cannot overlap.
  void RunDisabled(const std::function<void()>& work);

  SearchHost* host_ = nullptr;
  SearchMode mode_ = SearchMode::Find;
  SearchRequest stored_;
};
