#pragma once
// The progress dialog of a long loop, seen from a test while the loop runs.

#include <QProgressDialog>
#include <QPushButton>
#include <functional>

// The progress dialog on screen, or nullptr; its "ｷｬﾝｾﾙ" button.
QProgressDialog* ShownProgressDialog();
inline QPushButton* ProgressCancelButton(QProgressDialog* dialog) { return dialog->findChild<QPushButton*>(); }

// While it lives, every progress dialog is cancelled as it shows, before
// its loop has taken a step; `atShow` runs first.
class CancelProgressOnShow : public QObject {
 public:
  explicit CancelProgressOnShow(std::function<void()> atShow = {});
  ~CancelProgressOnShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> atShow_;
};
