// The window's side of a long loop: where the loop runs, what the dialog
// shows, that the window thread keeps working, and the three ways of
// cancelling, none of which takes the dialog down before the loop ends.
#include <QApplication>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

#include "base/ProgressDialog.h"
#include "support/ProgressDialogs.h"

namespace {

const ProgressTexts kTexts{QStringLiteral("示名条印刷"), QStringLiteral("示名条を印刷しています (%1 / %2)")};

bool OnWorker() { return QThread::currentThread() != QCoreApplication::instance()->thread(); }

}  // namespace

TEST(RunWithProgress, OneStepRunsAtOnceMoreRunOnAWorkerUnderTheDialog) {
  struct Row {
    int steps;
    bool worker;
  } rows[] = {{0, false}, {1, false}, {2, true}, {60, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.steps);
    QWidget window;
    QSemaphore looked;
    QString title, label, cancel;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      ++ticks;
      QProgressDialog* dialog = ShownProgressDialog();
      if (!dialog || !dialog->labelText().contains(QStringLiteral("(2 /")) || looked.available()) return;
      title = dialog->windowTitle();
      label = dialog->labelText();
      cancel = ProgressCancelButton(dialog)->text();
      looked.release();
    });
    timer.start(5);
    bool worker = false;
    RunWithProgress(&window, kTexts, row.steps, [&](Progress& progress) {
      worker = OnWorker();
      progress.Report(1, row.steps);
      if (worker) looked.tryAcquire(1, 10000);  // the dialog shows step 2 meanwhile
    });
    EXPECT_EQ(worker, row.worker);
    EXPECT_EQ(ShownProgressDialog(), nullptr);
    if (!row.worker) continue;
    EXPECT_EQ(title, QStringLiteral("示名条印刷"));
    EXPECT_EQ(label, QStringLiteral("示名条を印刷しています (2 / %1)").arg(row.steps));
    EXPECT_EQ(cancel, QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_GT(ticks, 1);  // the window thread went on with its events
  }
}

TEST(RunWithProgress, CancelStopsBeforeTheNextStepAndTheDialogStaysUntilTheLoopEnds) {
  const std::function<void(QProgressDialog*)> ways[] = {
      [](QProgressDialog* d) { ProgressCancelButton(d)->click(); },
      [](QProgressDialog* d) { QTest::keyClick(d, Qt::Key_Escape); },
      [](QProgressDialog* d) { d->close(); },   // the close box
  };
  for (const auto& cancel : ways) {
    QSemaphore atThird, cancelled;
    bool stayed = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (!atThird.tryAcquire()) return;
      QProgressDialog* dialog = ShownProgressDialog();
      cancel(dialog);
      stayed = dialog->isVisible() && !ProgressCancelButton(dialog)->isEnabled();
      cancelled.release();
    });
    timer.start(5);
    int done = 0;
    RunWithProgress(nullptr, kTexts, 10, [&](Progress& progress) {
      for (int step = 0; step < 10 && progress.Report(step, 10); ++step) {
        ++done;
        if (step == 2) {
          atThird.release();
          cancelled.tryAcquire(1, 10000);
        }
      }
    });
    EXPECT_EQ(done, 3);
    EXPECT_TRUE(stayed);
  }
}

TEST(RunWithProgress, AnExceptionOfTheLoopIsThrownOnTheWindowThread) {
  EXPECT_THROW(RunWithProgress(nullptr, kTexts, 3, [](Progress&) { throw std::runtime_error("full"); }),
               std::runtime_error);
  EXPECT_EQ(ShownProgressDialog(), nullptr);
}
