#include "base/ProgressDialog.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>

namespace {

// The reports of the worker, read by the dialog on the window's thread.
class SharedProgress final : public Progress {
 public:
  bool Report(int done, int total) override {
    total_.store(total);
    done_.store(done);
    return !cancelled_.load();
  }
  int Done() const { return done_.load(); }
  int Total() const { return total_.load(); }
  void Cancel() { cancelled_.store(true); }

 private:
  std::atomic<int> done_{0};
  std::atomic<int> total_{0};
  std::atomic<bool> cancelled_{false};
};

// A progress dialog that stays up until the loop has ended: the cancel
// button, Escape and the close box only ask the loop to stop.
class LoopDialog final : public QProgressDialog {
 public:
  LoopDialog(QWidget* parent, SharedProgress& progress) : QProgressDialog(parent), progress_(progress) {
    // The dialog's own button keeps its one Escape shortcut (a button set
    // in its place would add a second, and the two would cancel each other).
    setCancelButtonText(QString::fromUtf8(kProgressCancelText));
    cancel_ = findChild<QPushButton*>();
    cancel_->setObjectName(QStringLiteral("ButtonCancel"));
    // QProgressDialog hides itself when cancelled (an old-style connection).
    disconnect(this, SIGNAL(canceled()), this, SLOT(cancel()));
    connect(this, &QProgressDialog::canceled, this, &LoopDialog::AskToStop);
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(0);
    setWindowModality(Qt::ApplicationModal);
  }

  void reject() override { AskToStop(); }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    AskToStop();
  }

 private:
  void AskToStop() {
    progress_.Cancel();
    cancel_->setEnabled(false);
  }

  SharedProgress& progress_;
  QPushButton* cancel_ = nullptr;
};

void ShowReport(QProgressDialog& dialog, const QString& label, int done, int total) {
  if (total <= 0) return;
  dialog.setLabelText(label.arg(std::min(done + 1, total)).arg(total));
  if (dialog.maximum() != total) dialog.setMaximum(total);
  if (dialog.value() != done) dialog.setValue(std::min(done, total));
}

}  // namespace

void RunWithProgress(QWidget* parent, const ProgressTexts& texts, int steps,
                     const std::function<void(Progress&)>& loop) {
  if (steps <= 1) {
    loop(NoProgress());
    return;
  }
  SharedProgress progress;
  progress.Report(0, steps);
  LoopDialog dialog(parent, progress);
  dialog.setWindowTitle(texts.title);
  dialog.setRange(0, steps);
  ShowReport(dialog, texts.label, 0, steps);
  dialog.show();
  dialog.activateWindow();  // Escape and Enter reach it at once

  std::exception_ptr failure;
  std::unique_ptr<QThread> worker(QThread::create([&] {
    try {
      loop(progress);
    } catch (...) {
      failure = std::current_exception();
    }
  }));
  QEventLoop waiting;
  QObject::connect(worker.get(), &QThread::finished, &waiting, &QEventLoop::quit);
  QTimer refresh;
  QObject::connect(&refresh, &QTimer::timeout, &dialog,
                   [&] { ShowReport(dialog, texts.label, progress.Done(), progress.Total()); });
  refresh.start(50);
  worker->start();
  // A finish before the loop below starts is still in the queue for it.
  waiting.exec();
  worker->wait();
  if (failure) std::rethrow_exception(failure);
}
