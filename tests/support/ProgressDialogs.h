#pragma once
// Finding and answering the progress dialog of a long loop from a test's
// timer while the loop runs.

#include <QProgressDialog>
#include <QPushButton>

// The progress dialog on screen, or nullptr.
QProgressDialog* ShownProgressDialog();
// Its "ｷｬﾝｾﾙ" button.
QPushButton* ProgressCancelButton(QProgressDialog* dialog);

// While it lives, every progress dialog is cancelled as it shows, before
// its loop has taken a step.
class CancelProgressOnShow : public QObject {
 public:
  CancelProgressOnShow();
  ~CancelProgressOnShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
};
