// Long print loops report each step and stop before the next one when told:
// what was sent before the stop is exactly the start of the whole run. The
// preview windows show the progress, cancel through it and tell the count.
#include <QPushButton>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "CardSamples.h"
#include "base/Mainsub.h"
#include "print/PdfExport.h"
#include "print/Printjimeijocard.h"
#include "print/Printjimeijolist.h"
#include "support/FakePrintSystem.h"
#include "support/FakePrompts.h"
#include "support/ProgressDialogs.h"
#include "support/TestFiles.h"

namespace {

// Records every report and stops the loop at the report of step `stopAt`.
struct StopAt final : Progress {
  explicit StopAt(int step) : stopAt(step) {}
  bool Report(int done, int total) override {
    reports.append({done, total});
    return done < stopAt;
  }
  int stopAt;
  QList<QPair<int, int>> reports;
};

// Strips told apart by the colour of their one box, on three papers.
StripDocument ColouredStrips(int count) {
  QList<TestStrip> strips;
  const char* series[] = {"Ｔｅシリーズ主装置", "Ｒｕシリーズ主装置", "Ｋａシリーズ主装置"};
  for (int i = 0; i < count; ++i) {
    strips.append(BoxStrip({BoxKey("2", "4", "14", "8", 0x010101 * (i * 9 + 10))}, series[i % 3], "x"));
  }
  return DocumentOf(strips);
}

std::vector<ListRow> ListOf(int strips) {
  QList<StripRow> rows;
  for (int i = 0; i < strips; ++i) rows.append(StripRow{i + 1, "S", "T", QByteArray::number(201 + i), "", "", ""});
  return BuildListRows(rows);
}

}  // namespace

TEST(PrintProgress, AStoppedCardPrintSentExactlyTheFirstJobsOfTheWholeRun) {
  const StripDocument document = ColouredStrips(5);
  const QList<int> selection{4, 0, 3, 1, 2};
  PrintChoice twice;
  twice.copies = 2;
  twice.collate = true;
  FakePrintSystem whole;
  whole.dpi = 20;
  ASSERT_EQ(PrintStripCards(whole, document, selection, twice, {}).jobsSent, 10);
  for (int stopAt = 0; stopAt <= 10; ++stopAt) {
    SCOPED_TRACE(stopAt);
    FakePrintSystem printer;
    printer.dpi = 20;
    StopAt progress(stopAt);
    const CardPrintResult result = PrintStripCards(printer, document, selection, twice, {}, progress);
    EXPECT_EQ(result.stop, stopAt < 10 ? CardPrintResult::kCancelled : CardPrintResult::kDone);
    EXPECT_EQ(result.jobsSent, stopAt);
    EXPECT_EQ(result.jobCount, 10);
    ASSERT_EQ(printer.jobs.size(), stopAt);
    for (int j = 0; j < stopAt; ++j) {
      EXPECT_EQ(printer.jobs[j].paper, whole.jobs[j].paper);
      EXPECT_EQ(printer.jobs[j].pages, whole.jobs[j].pages);
    }
    EXPECT_EQ(progress.reports.first(), qMakePair(0, 10));
    EXPECT_EQ(progress.reports.last(), qMakePair(stopAt, 10));
  }
}

TEST(PrintProgress, ListPrintAndPdfExportsStopBeforeTheirNextPage) {
  const StripDocument document = ColouredStrips(4);
  struct Row {
    const char* loop;
    int stopAt;
    int sent;  // pages in the list job, pages of the PDF
    bool cancelled;
  } rows[] = {
      {"list", 0, -1, true},  // stopped before the job began: no job at all
      {"list", 2, 2, true},   {"list", 3, 3, false},
      {"cards pdf", 0, 0, true}, {"cards pdf", 3, 0, true}, {"cards pdf", 4, 4, false},
      {"list pdf", 1, 0, true},  {"list pdf", 3, 3, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.loop) + " " + std::to_string(row.stopAt));
    StopAt progress(row.stopAt);
    const QString loop = QString::fromLatin1(row.loop);
    if (loop == QLatin1String("list")) {
      FakePrintSystem printer;
      printer.keepPages = false;
      const ListPrintResult result = PrintStripList(printer, ListOf(61), PrintChoice{}, QDateTime(), progress);
      EXPECT_EQ(result.stop == ListPrintResult::kCancelled, row.cancelled);
      EXPECT_EQ(result.pageCount, 3);
      EXPECT_EQ(printer.jobs.size(), row.sent < 0 ? 0 : 1);
      if (row.sent >= 0) {
        EXPECT_EQ(printer.jobs[0].pageCount, row.sent);
      }
      EXPECT_EQ(result.pagesSent, std::max(0, row.sent));
    } else if (loop == QLatin1String("cards pdf")) {
      const StripCardsPdf pdf = RenderStripCardsPdf(document, {0, 1, 2, 3}, {}, progress);
      EXPECT_EQ(pdf.cancelled, row.cancelled);
      EXPECT_EQ(pdf.pages, row.sent);
      EXPECT_EQ(pdf.pdf.isEmpty(), row.cancelled);
    } else {
      const QByteArray pdf = RenderStripListPdf(ListOf(61), QDateTime(), progress);
      EXPECT_EQ(pdf.isEmpty(), row.cancelled);
    }
  }
}

namespace {

// The preview windows printing through their progress dialog: the printer
// holds at the end of page `holdAt` until the test has cancelled.
struct PreviewProgressTest : ::testing::Test {
  QTemporaryDir dir;
  TSettings settings{dir.path()};
  FakePrompts prompts;
  FakePrintSystem printer;

  // Prints with `print` and cancels when the dialog shows `label`; true
  // when "印刷" was disabled meanwhile.
  bool PrintAndCancel(QPushButton* print, int holdJob, int holdPage, const QString& label) {
    printer.keepPages = false;
    printer.dialogAnswers.push_back(PrintChoice{});
    QSemaphore held, cancelled;
    printer.onPageEnd = [&](int job, int page) {
      if (job != holdJob || page != holdPage) return;
      held.release();
      cancelled.tryAcquire(1, 10000);
    };
    bool disabled = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      QProgressDialog* dialog = ShownProgressDialog();
      if (!dialog || dialog->labelText() != label || !held.tryAcquire()) return;
      disabled = !print->isEnabled();
      ProgressCancelButton(dialog)->click();
      cancelled.release();
    });
    timer.start(5);
    print->click();
    printer.onPageEnd = nullptr;
    return disabled && print->isEnabled();
  }
};

}  // namespace

TEST_F(PreviewProgressTest, CancelStopsTheCardPrintBeforeTheNextJobAndTellsTheCount) {
  const StripDocument document = ColouredStrips(6);
  const PrintAdjustment adjustment;
  TFPrintJimeijoCard preview(settings);
  preview.Prepare(document, {0, 1, 2, 3, 4, 5}, adjustment);
  // Job 3 ends while the dialog says it is under way; job 4 never starts.
  EXPECT_TRUE(PrintAndCancel(preview.ButtonPrint, 2, 0, QStringLiteral("示名条を印刷しています (3 / 6)")));
  EXPECT_EQ(printer.jobs.size(), 3);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("印刷を中止しました。\n6 件のうち 3 件の示名条をプリンタに送りました。"));
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("メッセージ"));
  EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
}

TEST_F(PreviewProgressTest, CancelEndsTheListJobWithThePagesDrawnAndTellsTheCount) {
  TFPrintJimeijoList preview(settings);
  preview.Prepare([] {
    QList<StripRow> rows;
    for (int i = 0; i < 100; ++i) rows.append(StripRow{i + 1, "S", "T", "201", "", "", ""});
    return rows;
  });
  EXPECT_TRUE(PrintAndCancel(preview.ButtonPrint, 0, 0, QStringLiteral("示名条一覧を印刷しています (2 / 4)")));
  ASSERT_EQ(printer.jobs.size(), 1);
  EXPECT_EQ(printer.jobs[0].pageCount, 2);
  EXPECT_TRUE(printer.jobs[0].ended);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("印刷を中止しました。\n4 ページのうち 2 ページをプリンタに送りました。"));
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("メッセージ"));
}
