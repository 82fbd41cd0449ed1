// Strip cards printed for real: through Qt's print support and CUPS to a
// CUPS-PDF queue, the PDFs read back with poppler's tools. Every text box
// must lie where its millimetres say, from the paper corner, within 0.1 mm.
#include <QApplication>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <numeric>

#include "CardSamples.h"
#include "CupsPdf.h"
#include "base/Mainsub.h"
#include "base/PrintSystem.h"
#include "print/CardPrint.h"
#include "print/Printjimeijocard.h"
#include "support/FakePrompts.h"
#include "support/ProgressDialogs.h"
#include "support/TestFiles.h"

namespace {

constexpr double kToleranceMm = 0.1;
constexpr int kRasterDpi = 600;

// Grey backgrounds, told apart on a grey rendering of the page.
struct Box {
  const char* x;
  const char* y;
  double xMm, yMm, widthMm, heightMm;  // from the paper corner (group at 10, 20)
  int grey;
  const char* text;
};
const Box kBoxes[] = {
    {"2", "4", 12, 24, 30, 8, 128, "K1"},
    {"45.5", "3.25", 55.5, 23.25, 30, 8, 192, "K2"},
    {"2", "101.75", 12, 121.75, 30, 8, 64, "K3"},
};

int WinGrey(int grey) { return grey | grey << 8 | grey << 16; }

// `firstGrey` tells strips apart on paper.
TestStrip GreyBoxStrip(const char* series, const char* type, int firstGrey = kBoxes[0].grey) {
  QList<TestKey> keys;
  for (const Box& b : kBoxes) {
    const int grey = keys.isEmpty() ? firstGrey : b.grey;
    TestKey key = BoxKey(b.x, b.y, "30", "8", WinGrey(grey), {QByteArray(b.text)});
    key.colors = "16777215," + QByteArray::number(WinGrey(grey));  // white text
    key.size = "10";
    keys.append(key);
  }
  return BoxStrip(keys, series, type);
}

void ExpectNear(const QRectF& got, double x, double y, double w, double h) {
  EXPECT_NEAR(got.left(), x, kToleranceMm);
  EXPECT_NEAR(got.top(), y, kToleranceMm);
  EXPECT_NEAR(got.width(), w, kToleranceMm);
  EXPECT_NEAR(got.height(), h, kToleranceMm);
}

// Every box of kBoxes on page 1, shifted by the adjustment, within 0.1 mm
// on a 600 dpi rendering, and each key's text inside its box.
void ExpectBoxesWhereTheirMillimetresSay(const QString& pdf, double downMm = 0, double rightMm = 0) {
  const QImage page = PdfPageGrey(pdf, 1, kRasterDpi);
  ASSERT_FALSE(page.isNull());
  const QList<PdfWord> words = PdfWords(pdf);
  for (const Box& b : kBoxes) {
    SCOPED_TRACE(b.text);
    const double x = b.xMm + rightMm, y = b.yMm + downMm;
    ExpectNear(GreyBoxMm(page, b.grey, kRasterDpi), x, y, b.widthMm, b.heightMm);
    // Through PostScript the text becomes Type 3 glyphs whose boxes are
    // approximate: each key's word must lie inside its text box.
    const QRectF box(x - kToleranceMm, y - kToleranceMm, b.widthMm + 2 * kToleranceMm,
                     b.heightMm + 2 * kToleranceMm);
    const auto word = std::find_if(words.begin(), words.end(),
                                   [&](const PdfWord& w) { return box.contains(w.mm.center()); });
    ASSERT_NE(word, words.end());
    EXPECT_TRUE(box.contains(word->mm)) << word->mm.left() << " " << word->mm.top();
  }
}

struct CupsPrintTest : ::testing::Test {
  CardPrintResult Print(CupsPdfQueue& queue, const StripDocument& document, const QList<int>& selection,
                        int copies = 1, bool collate = false, PrintAdjustment adjustment = {}) {
    EXPECT_TRUE(queue.SelectInPrintSystem());
    PrintChoice choice;
    choice.copies = copies;
    choice.collate = collate;
    return PrintStripCards(PrintSystem::Current(), document, selection, choice, adjustment);
  }
};

#define SKIP_WITHOUT(queue) \
  if (!(queue).Unavailable().isEmpty()) GTEST_SKIP() << (queue).Unavailable().toStdString()

}  // namespace

TEST_F(CupsPrintTest, EachStripIsOneJobOnItsPaperWithBoxesFromThePaperCorner) {
  CupsPdfQueue queue(QString::fromLatin1(kPdfQueue));
  SKIP_WITHOUT(queue);
  const StripDocument document = DocumentOf({GreyBoxStrip("Ｔｅシリーズ主装置", "Ｔｅ標準"),
                                             GreyBoxStrip("Ｋａシリーズ主装置", "Ｋａ横４８"),
                                             GreyBoxStrip("Ｒｕシリーズ主装置", "Ｒｕ標準")});
  ASSERT_EQ(Print(queue, document, {0, 1, 2}).jobsSent, 3);
  const QList<PdfFile> pdfs = queue.TakeNewPdfs(3);
  ASSERT_EQ(pdfs.size(), 3);
  // A5, A4 portrait, JIS B5 (182 x 257), as CUPS-PDF defines them in whole points.
  const QSizeF papers[] = {{148, 210}, {210, 297}, {182, 257}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(pdfs[i].path.toStdString());
    // The job is titled "示名条 201"; CUPS-PDF names the file after its last word.
    EXPECT_TRUE(pdfs[i].path.endsWith(QStringLiteral("-201.pdf"))) << pdfs[i].path.toStdString();
    EXPECT_EQ(pdfs[i].pages, 1);
    EXPECT_NEAR(pdfs[i].pageMm.width(), papers[i].width(), 0.8);
    EXPECT_NEAR(pdfs[i].pageMm.height(), papers[i].height(), 0.8);
    ExpectBoxesWhereTheirMillimetresSay(pdfs[i].path);
  }
}

TEST_F(CupsPrintTest, UnprintableMarginsDoNotMoveThePrint) {
  CupsPdfQueue queue(QString::fromLatin1(kMarginsQueue));
  SKIP_WITHOUT(queue);
  ASSERT_EQ(Print(queue, DocumentOf({GreyBoxStrip("Ｔｅシリーズ主装置", "Ｔｅ標準")}), {0}).jobsSent, 1);
  const QList<PdfFile> pdfs = queue.TakeNewPdfs(1);
  ASSERT_EQ(pdfs.size(), 1);
  ExpectBoxesWhereTheirMillimetresSay(pdfs[0].path);
}

TEST_F(CupsPrintTest, AdjustmentMovesEveryBoxOnPaper) {
  CupsPdfQueue queue(QString::fromLatin1(kPdfQueue));
  SKIP_WITHOUT(queue);
  const PrintAdjustment adjustment{Decimal4::FromDouble(1.5), Decimal4::FromInt(-2)};
  Print(queue, DocumentOf({GreyBoxStrip("Ｔｅシリーズ主装置", "Ｔｅ標準")}), {0}, 1, false, adjustment);
  const QList<PdfFile> pdfs = queue.TakeNewPdfs(1);
  ASSERT_EQ(pdfs.size(), 1);
  ExpectBoxesWhereTheirMillimetresSay(pdfs[0].path, 1.5, -2);
}

TEST_F(CupsPrintTest, CopiesCollatedAndUncollated) {
  CupsPdfQueue queue(QString::fromLatin1(kPdfQueue));
  SKIP_WITHOUT(queue);
  const StripDocument document = DocumentOf({GreyBoxStrip("Ｔｅシリーズ主装置", "Ｔｅ標準", 96),
                                             GreyBoxStrip("Ｔｅシリーズ主装置", "Ｔｅ標準", 160)});
  // Which strip a page shows: the grey in the middle of its first box, at 27, 28 mm.
  const auto stripOf = [](const QString& pdf, int page) {
    const int grey = qGray(PdfPageGrey(pdf, page, 100).pixel(106, 110));
    if (std::abs(grey - 96) <= 6) return 1;
    return std::abs(grey - 160) <= 6 ? 2 : 0;
  };
  Print(queue, document, {0, 1}, 3, true);
  QList<PdfFile> pdfs = queue.TakeNewPdfs(6);
  ASSERT_EQ(pdfs.size(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(pdfs[i].pages, 1);
    EXPECT_EQ(stripOf(pdfs[i].path, 1), i % 2 + 1);  // 1, 2, 1, 2, 1, 2
  }
  Print(queue, document, {0, 1}, 3, false);
  pdfs = queue.TakeNewPdfs(2);
  ASSERT_EQ(pdfs.size(), 2);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(pdfs[i].pages, 3);
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(stripOf(pdfs[i].path, p), i + 1);
  }
}

TEST_F(CupsPrintTest, SixtyStripsFromThePreviewCancelledAfterAFewJobsLeaveThoseJobsWholeAndInOrder) {
  CupsPdfQueue queue(QString::fromLatin1(kPdfQueue));
  SKIP_WITHOUT(queue);
  ASSERT_TRUE(queue.SelectInPrintSystem());
  const auto grey = [](int strip) { return 10 + 3 * strip; };  // of the strip's first box
  QList<TestStrip> strips;
  for (int i = 0; i < 60; ++i) strips.append(GreyBoxStrip("Ｔｅシリーズ主装置", "Ｔｅ標準", grey(i)));
  const StripDocument document = DocumentOf(strips);
  QTemporaryDir dir;
  TSettings settings(dir.path());
  FakePrompts prompts;
  TFPrintJimeijoCard preview(settings);
  const PrintAdjustment adjustment;
  QList<int> selection(60);
  std::iota(selection.begin(), selection.end(), 0);
  preview.Prepare(document, selection, adjustment);
  QTimer answer;  // the print dialog's "印刷", then "ｷｬﾝｾﾙ" while the fourth job is under way
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) dialog->accept();
    QProgressDialog* progress = ShownProgressDialog();
    if (progress && progress->labelText().contains(QStringLiteral("(4 / 60)"))) ProgressCancelButton(progress)->click();
  });
  answer.start(10);
  preview.ButtonPrint->click();
  ASSERT_EQ(prompts.messages.size(), 1);
  const int sent = QRegularExpression(QStringLiteral("60 件のうち (\\d+) 件")).match(prompts.messages[0].text).captured(1).toInt();
  EXPECT_GE(sent, 4);
  EXPECT_LT(sent, 60);
  const QList<PdfFile> pdfs = queue.TakeNewPdfs(sent);
  ASSERT_EQ(pdfs.size(), sent);
  for (int i = 0; i < sent; ++i) {
    EXPECT_EQ(pdfs[i].pages, 1);
    EXPECT_NEAR(qGray(PdfPageGrey(pdfs[i].path, 1, 100).pixel(106, 110)), grey(i), 1);
  }
}
