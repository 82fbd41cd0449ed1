// Long print loops report each step and stop before the next one when told:
// what went out before the stop is exactly the start of the whole run. The
// previews print under the progress dialog and tell what was sent.
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CardSamples.h"
#include "base/Mainsub.h"
#include "print/PdfExport.h"
#include "print/Printjimeijocard.h"
#include "print/Printjimeijolist.h"
#include "support/FakePrintSystem.h"
#include "support/FakePrompts.h"
#include "support/ProgressDialogs.h"

namespace {

struct StopAt final : Progress {
  explicit StopAt(int step) : stopAt(step) {}
  bool Report(int done, int) override { return done < stopAt; }
  int stopAt;
};

// Strips told apart by the grey of their one box, on three papers.
StripDocument GreyStrips(int count) {
  QList<TestStrip> strips;
  const char* series[] = {"Ｔｅシリーズ主装置", "Ｒｕシリーズ主装置", "Ｋａシリーズ主装置"};
  for (int i = 0; i < count; ++i) strips.append(BoxStrip({BoxKey("2", "4", "14", "8", 0x010101 * (9 * i + 10))}, series[i % 3], "x"));
  return DocumentOf(strips);
}

QList<StripRow> Rows(int strips) { return QList<StripRow>(strips, StripRow{1, "S", "T", "201", "", "", ""}); }

}  // namespace

TEST(PrintProgress, AStoppedLoopSentExactlyTheFirstStepsOfTheWholeRun) {
  const StripDocument document = GreyStrips(5);
  const std::vector<ListRow> list = BuildListRows(Rows(100));  // 4 pages
  // What went out: each job's pages in order; for a PDF, its page count.
  using Loop = std::function<QList<QImage>(Progress&)>;
  const struct {
    const char* name;
    int steps;
    Loop run;
  } loops[] = {
      {"cards, collated twice", 10, [&](Progress& p) {
         FakePrintSystem printer;
         printer.dpi = 20;
         PrintStripCards(printer, document, {4, 0, 3, 1, 2}, PrintChoice{2, true}, {}, p);
         QList<QImage> out;
         for (const RecordedJob& job : printer.jobs) out += job.pages;
         return out;
       }},
      {"list", 4, [&](Progress& p) {
         FakePrintSystem printer;
         printer.dpi = 20;
         PrintStripList(printer, list, PrintChoice{}, QDateTime(), p);
         return printer.jobs.isEmpty() ? QList<QImage>() : printer.jobs[0].pages;
       }},
      {"cards pdf", 5, [&](Progress& p) { return QList<QImage>(RenderStripCardsPdf(document, {0, 1, 2, 3, 4}, {}, p).pages); }},
      {"list pdf", 4, [&](Progress& p) { return QList<QImage>(RenderStripListPdf(list, QDateTime(), p).isEmpty() ? 0 : 4); }},
  };
  for (const auto& loop : loops) {
    const QList<QImage> whole = loop.run(NoProgress());
    ASSERT_EQ(whole.size(), loop.steps) << loop.name;
    for (int stopAt = 0; stopAt <= loop.steps; ++stopAt) {
      StopAt progress(stopAt);
      const bool pdf = QByteArray(loop.name).endsWith("pdf");  // a stopped PDF is no PDF at all
      const int sent = pdf && stopAt < loop.steps ? 0 : stopAt;
      EXPECT_EQ(loop.run(progress), whole.mid(0, sent)) << loop.name << " " << stopAt;
    }
  }
}

TEST(PrintProgress, ThePreviewsPrintUnderTheDialogAndTellWhatWasSentWhenCancelled) {
  QTemporaryDir dir;
  TSettings settings(dir.path());
  FakePrompts prompts;
  FakePrintSystem printer;
  const StripDocument document = GreyStrips(6);
  const PrintAdjustment adjustment;
  TFPrintJimeijoCard card(settings);
  card.Prepare(document, {0, 1, 2, 3, 4, 5}, adjustment);
  TFPrintJimeijoList list(settings);
  list.Prepare([] { return Rows(100); });
  QPushButton* print = nullptr;
  bool printDisabled = true;  // while a print runs
  const CancelProgressOnShow cancel([&] { printDisabled = printDisabled && !print->isEnabled(); });
  for (QPushButton* button : {card.ButtonPrint, list.ButtonPrint}) {
    print = button;
    printer.dialogAnswers.push_back(PrintChoice{});
    print->click();
    EXPECT_TRUE(print->isEnabled());
  }
  EXPECT_TRUE(printDisabled);
  EXPECT_TRUE(printer.jobs.isEmpty());
  ASSERT_EQ(prompts.messages.size(), 2);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("印刷を中止しました。\n6 件のうち 0 件の示名条をプリンタに送りました。"));
  EXPECT_EQ(prompts.messages[1].text, QStringLiteral("印刷を中止しました。\n4 ページのうち 0 ページをプリンタに送りました。"));
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("メッセージ"));
}
