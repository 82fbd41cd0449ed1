// The strip list pages: rows cut to their columns, pitched text, the page
// drawing with its rules, the page order of copies, and the preview window.
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/Mainsub.h"
#include "print/ListPrint.h"
#include "print/Printjimeijolist.h"
#include "support/FakePrintSystem.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"
#include "view/CanvasImage.h"
#include "view/StripRenderer.h"

namespace {

QList<StripRow> Strips(int count) {
  QList<StripRow> rows;
  for (int i = 0; i < count; ++i) {
    StripRow row;
    row.number = i + 1;
    row.series = Sj("Ｔｅシリーズ主装置");
    row.stripType = Sj("Ｔｅ２４ボタン");
    row.extension = QByteArray::number(201 + i);
    row.department = Sj("営業部");
    row.userName = Sj("山田");
    row.registered = "2017/03/05 14:07";
    rows.append(row);
  }
  return rows;
}

PrintChoice Choice(int copies, bool collate, int from = 0, int to = 0) {
  PrintChoice c;
  c.copies = copies;
  c.collate = collate;
  c.fromPage = from;
  c.toPage = to;
  return c;
}

// Rows of the image whose middle pixel of the rules' span is black.
QList<int> DarkRows(const QImage& image, int x) {
  QList<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    if (qGray(image.pixel(x, y)) < 64) rows.append(y);
  }
  return rows;
}

}  // namespace

TEST(ListPrint, PagesAndColumnCuts) {
  EXPECT_EQ(ListPageCount(0), 1);
  EXPECT_EQ(ListPageCount(30), 1);
  EXPECT_EQ(ListPageCount(31), 2);
  EXPECT_EQ(ListPageCount(2000), 67);
  QList<StripRow> rows = Strips(2);
  rows[0].department = QByteArray(40, 'a');
  rows[1].department = QByteArray(31, 'a') + Sj("部署");  // byte 32 would split 部
  const std::vector<ListRow> cut = BuildListRows(rows);
  EXPECT_EQ(cut[0][3], QByteArray(32, 'a'));
  EXPECT_EQ(cut[1][3], QByteArray(31, 'a'));
  EXPECT_EQ(cut[0][2], "201");
  EXPECT_EQ(ListPageNumberText(2, 3), QStringLiteral("2 / 3 ページ"));
  EXPECT_EQ(ListDateText(QDateTime(QDate(2017, 3, 5), QTime(14, 7))), QStringLiteral("2017年3月5日 14:07"));
}

TEST(ListPrint, PitchedTextPutsEachCharacterAtItsByteIndex) {
  QImage image = NewScreenImage(QSize(200, 40));
  QPainter painter(&image);
  painter.setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 10));
  DrawPitched(painter, Sj("あ") + "i" + Sj("い"), 10, 5, 20);
  painter.end();
  // Characters start at 10 (あ, two pitches), 50 (i) and 70 (い).
  const auto inkIn = [&](int from, int to) {
    for (int x = from; x < to; ++x)
      for (int y = 0; y < 40; ++y)
        if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
  };
  EXPECT_TRUE(inkIn(10, 24));
  EXPECT_FALSE(inkIn(0, 10));
  EXPECT_FALSE(inkIn(24, 50));  // あ is 13 px wide at 96 dpi; the second pitch is empty
  EXPECT_TRUE(inkIn(50, 56));
  EXPECT_TRUE(inkIn(70, 84));
}

TEST(ListPrint, AShortPageStillDrawsAll31RulesWithTheirWidths) {
  QImage page = NewScreenImage(QSize(1080, 760));
  QPainter painter(&page);
  const ListMetrics m = MeasureListMetrics(&page);
  ASSERT_GT(m.pitch, 0);
  DrawListPage(painter, BuildListRows(Strips(2)), 1, QDateTime::currentDateTime());
  painter.end();
  // Along a column between two texts only the rules are black: 31 runs of
  // 4, then 1s, 2 at the 11th and 21st, 4 at the last.
  const int x = 6 * m.pitch + 163 * m.pitch - 2;
  QList<int> runs;
  int previous = -10;
  for (int y : DarkRows(page, x)) {
    if (y == previous + 1) ++runs.last(); else runs.append(1);
    previous = y;
  }
  ASSERT_EQ(runs.size(), 31);
  for (int i = 0; i < 31; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(runs[i], i == 0 || i == 30 ? 4 : (i == 10 || i == 20 ? 2 : 1));
  }
}

TEST(ListPrint, CopiesCollationAndRangeGiveThePageOrder) {
  EXPECT_EQ(ListJobPages(1, Choice(2, false)), (QList<int>{1, 1}));
  EXPECT_EQ(ListJobPages(3, Choice(2, true)), (QList<int>{1, 2, 3, 1, 2, 3}));
  EXPECT_EQ(ListJobPages(3, Choice(2, false)), (QList<int>{1, 1, 2, 2, 3, 3}));
  EXPECT_EQ(ListJobPages(5, Choice(1, false, 2, 3)), (QList<int>{2, 3}));
  EXPECT_EQ(ListJobPages(2, Choice(1, false, 4, 9)), (QList<int>{2}));  // beyond the end: the last page
}

TEST(ListPrint, OneA4LandscapeJob) {
  FakePrintSystem printer;
  printer.dpi = 72;
  ASSERT_EQ(PrintStripList(printer, BuildListRows(Strips(2)), Choice(2, false), QDateTime::currentDateTime()).stop,
            ListPrintResult::kDone);
  ASSERT_EQ(printer.jobs.size(), 1);
  EXPECT_EQ(printer.jobs[0].title, QStringLiteral("示名条一覧"));
  EXPECT_EQ(printer.jobs[0].paper, QPageSize::A4);
  EXPECT_EQ(printer.jobs[0].orientation, QPageLayout::Landscape);
  EXPECT_EQ(printer.jobs[0].pageCount, 2);
  EXPECT_EQ(printer.jobs[0].pages[0].size(), QSize(842, 595));
  printer.failBegin = true;
  EXPECT_EQ(PrintStripList(printer, BuildListRows(Strips(2)), Choice(1, false), QDateTime::currentDateTime()).stop,
            ListPrintResult::kPrinterFailed);
}

namespace {

struct ListPreviewTest : ::testing::Test {
  QTemporaryDir dir;
  TSettings settings{dir.path()};
  FakePrompts prompts;
  FakePrintSystem printer;
  TFPrintJimeijoList preview{settings};
  int builds = 0;
  TFPrintJimeijoList::RowSource Source(int strips) {
    return [this, strips] {
      ++builds;
      return Strips(strips);
    };
  }
};

}  // namespace

TEST_F(ListPreviewTest, PagesWithoutMessagesAndBuildsTheRowsOncePerShow) {
  preview.Prepare(Source(61));
  EXPECT_EQ(preview.imgPage->Image().size(), QSize(1080, 760));
  EXPECT_EQ(preview.PageCount(), 3);
  EXPECT_FALSE(preview.ButtonPrev->isEnabled());
  EXPECT_TRUE(preview.ButtonNext->isEnabled());
  preview.ButtonNext->click();
  preview.ButtonNext->click();
  EXPECT_EQ(preview.CurrentPage(), 3);
  EXPECT_FALSE(preview.ButtonNext->isEnabled());
  QMetaObject::invokeMethod(preview.ButtonNext, "clicked");
  EXPECT_EQ(preview.CurrentPage(), 3);
  preview.ButtonPrev->click();
  EXPECT_TRUE(preview.ButtonNext->isEnabled());
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_EQ(builds, 1);

  preview.Prepare(Source(30));
  EXPECT_FALSE(preview.ButtonNext->isEnabled());
  EXPECT_EQ(preview.minimumSize(), QSize(640, 480));
  EXPECT_EQ(preview.size(), QSize(1000, 600));  // ListWidth, ListHeight by default
  EXPECT_EQ(preview.windowTitle(), QStringLiteral("示名条一覧印刷プレビュー"));
}

TEST_F(ListPreviewTest, PrintOffersThePageRangeAndReportsFailures) {
  printer.keepPages = false;
  preview.Prepare(Source(61));
  printer.dialogAnswers.push_back(Choice(1, false, 2, 3));
  preview.ButtonPrint->click();
  ASSERT_EQ(printer.dialogRequests.size(), 1);
  EXPECT_EQ(printer.dialogRequests[0].minPage, 1);
  EXPECT_EQ(printer.dialogRequests[0].maxPage, 3);
  ASSERT_EQ(printer.jobs.size(), 1);
  EXPECT_EQ(printer.jobs[0].pageCount, 2);
  EXPECT_EQ(builds, 2);  // rebuilt before printing

  printer.failEnd = true;
  printer.dialogAnswers.push_back(Choice(1, false));
  preview.ButtonPrint->click();
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("プリンタエラー"));
  EXPECT_EQ(prompts.messages[0].text, QString::fromUtf8(kPrinterErrorText));

  printer.printers.clear();
  preview.ButtonPrint->click();
  EXPECT_EQ(prompts.messages.last().text, QStringLiteral("プリンタがインストールされていません。"));
}
