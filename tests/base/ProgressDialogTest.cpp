// The window's side of a long loop: a single step runs at once; more run on
// a worker under the dialog, which the window thread keeps answering; each
// way of cancelling stops the loop before its next step and leaves the
// dialog up until the loop has ended.
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

#include "base/ProgressDialog.h"
#include "support/ProgressDialogs.h"

TEST(RunWithProgress, EachWayOfCancellingStopsBeforeTheNextStepAndTheDialogStaysUntilTheLoopEnds) {
  const ProgressTexts texts{QStringLiteral("示名条印刷"), QStringLiteral("示名条を印刷しています (%1 / %2)")};
  const QThread* window = QThread::currentThread();
  const QThread* ran = nullptr;
  RunWithProgress(nullptr, texts, 1, [&](Progress&) { ran = QThread::currentThread(); });
  EXPECT_EQ(ran, window);

  const std::function<void(QProgressDialog*)> ways[] = {
      [](QProgressDialog* d) { ProgressCancelButton(d)->click(); },
      [](QProgressDialog* d) { QTest::keyClick(d, Qt::Key_Escape); },
      [](QProgressDialog* d) { d->close(); },
  };
  for (const auto& cancel : ways) {
    // The worker holds after its third step until the window thread has looked and cancelled.
    QSemaphore reached, answered;
    QString seen;
    bool stayed = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (!reached.tryAcquire()) return;
      QProgressDialog* dialog = ShownProgressDialog();
      EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->labelText().contains(QStringLiteral("(3 /")); }));
      seen = dialog->windowTitle() + QLatin1Char('|') + dialog->labelText() + QLatin1Char('|') +
             ProgressCancelButton(dialog)->text();
      cancel(dialog);
      stayed = dialog->isVisible() && !ProgressCancelButton(dialog)->isEnabled();
      answered.release();
    });
    timer.start(5);
    int done = 0;
    RunWithProgress(nullptr, texts, 10, [&](Progress& progress) {
      ran = QThread::currentThread();
      for (; done < 10 && progress.Report(done, 10); ++done) {
        if (done != 2) continue;
        reached.release();
        answered.tryAcquire(1, 10000);
      }
    });
    EXPECT_NE(ran, window);
    EXPECT_EQ(done, 3);
    EXPECT_EQ(seen, QStringLiteral("示名条印刷|示名条を印刷しています (3 / 10)|ｷｬﾝｾﾙ"));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(ShownProgressDialog(), nullptr);
  }
  EXPECT_THROW(RunWithProgress(nullptr, texts, 3, [](Progress&) { throw std::runtime_error("full"); }),
               std::runtime_error);
}
