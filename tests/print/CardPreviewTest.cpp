// The card preview window: paging with its messages and button states, the
// page image of each strip, printing from it, and its window state keys.
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CardSamples.h"
#include "base/Mainsub.h"
#include "print/CardPrint.h"
#include "print/Printjimeijocard.h"
#include "support/FakePrintSystem.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"
#include "view/CanvasImage.h"

namespace {

constexpr int kRed = 255, kGreen = 65280, kBlue = 16711680;

struct CardPreviewTest : ::testing::Test {
  QTemporaryDir dir;
  TSettings settings{dir.path()};
  FakePrompts prompts;
  FakePrintSystem printer;
  PrintAdjustment adjustment;
  TFPrintJimeijoCard preview{settings};
  // Three strips, told apart by the colour of their one box; the third is
  // of the B5 format.
  StripDocument document = DocumentOf({BoxStrip({BoxKey("2", "4", "14", "8", kRed)}),
                                       BoxStrip({BoxKey("2", "4", "14", "8", kGreen)}),
                                       BoxStrip({BoxKey("2", "4", "14", "8", kBlue)}, "Ｒｕシリーズ主装置", "Ｒｕ標準")});

  struct State {
    int page;
    bool prev, next;
  };
  State Now() { return {preview.CurrentPage(), preview.ButtonPrev->isEnabled(), preview.ButtonNext->isEnabled()}; }
  QColor PageColour() {
    for (QColor c : {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)}) {
      if (BoxOfColour(preview.imgPage->Image(), c).isValid()) return c;
    }
    return QColor();
  }
};

void ExpectState(const CardPreviewTest::State& s, int page, bool prev, bool next) {
  EXPECT_EQ(s.page, page);
  EXPECT_EQ(s.prev, prev);
  EXPECT_EQ(s.next, next);
}

}  // namespace

TEST_F(CardPreviewTest, ThreeStripsPageFromFirstToLastWithMessagesAtTheEnds) {
  preview.Prepare(document, {0, 1, 2}, adjustment);
  ExpectState(Now(), 0, false, true);
  EXPECT_EQ(PageColour(), QColor(255, 0, 0));
  EXPECT_EQ(preview.imgPage->Image().size(), QSize(559, 793));

  preview.ButtonPrev->click();  // disabled: nothing happens
  EXPECT_TRUE(prompts.messages.isEmpty());
  preview.ButtonNext->click();
  ExpectState(Now(), 1, true, true);
  EXPECT_EQ(PageColour(), QColor(0, 255, 0));
  preview.ButtonNext->click();
  ExpectState(Now(), 2, true, false);
  EXPECT_EQ(PageColour(), QColor(0, 0, 255));
  EXPECT_EQ(preview.imgPage->Image().size(), QSize(688, 971));

  // Past either end (the handlers called as a key press would): a message, no change.
  QMetaObject::invokeMethod(preview.ButtonNext, "clicked");
  ExpectState(Now(), 2, true, false);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("これより次のページはありません。"));
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("エラー"));
  EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
  preview.ButtonPrev->click();
  preview.ButtonPrev->click();
  ExpectState(Now(), 0, false, true);
  QMetaObject::invokeMethod(preview.ButtonPrev, "clicked");
  ASSERT_EQ(prompts.messages.size(), 2);
  EXPECT_EQ(prompts.messages[1].text, QStringLiteral("これより前のページはありません。"));
  EXPECT_EQ(PageColour(), QColor(255, 0, 0));
}

TEST_F(CardPreviewTest, OneStripDisablesBothButtonsAndAMissingStripKeepsThePreviousImage) {
  preview.Prepare(document, {1}, adjustment);
  ExpectState(Now(), 0, false, false);
  EXPECT_EQ(PageColour(), QColor(0, 255, 0));
  preview.Prepare(document, {7}, adjustment);
  EXPECT_EQ(PageColour(), QColor(0, 255, 0));
}

TEST_F(CardPreviewTest, TheAdjustmentIsReadAtEveryDrawing) {
  preview.Prepare(document, {0, 1}, adjustment);
  const QRect before = BoxOfColour(preview.imgPage->Image(), QColor(255, 0, 0));
  adjustment.vertical = Decimal4::FromDouble(1.5);
  preview.ButtonNext->click();
  preview.ButtonPrev->click();
  EXPECT_EQ(BoxOfColour(preview.imgPage->Image(), QColor(255, 0, 0)).top(), before.top() + 6);
}

TEST_F(CardPreviewTest, PrintSendsTheSelectionAndReportsNoPrinter) {
  printer.keepPages = false;
  preview.Prepare(document, {2, 0}, adjustment);
  preview.ButtonPrint->click();  // dialog cancelled
  EXPECT_TRUE(printer.jobs.isEmpty());
  PrintChoice twice;
  twice.copies = 2;
  printer.dialogAnswers.push_back(twice);
  preview.ButtonPrint->click();
  ASSERT_EQ(printer.jobs.size(), 2);
  EXPECT_EQ(printer.jobs[0].paper, QPageSize::JisB5);
  EXPECT_EQ(printer.jobs[0].pageCount, 2);
  EXPECT_EQ(printer.jobs[1].paper, QPageSize::A5);
  EXPECT_EQ(printer.dialogRequests[0].maxPage, 0);  // no page range for cards

  printer.failBegin = true;
  printer.dialogAnswers.push_back(PrintChoice{});
  preview.ButtonPrint->click();
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("プリンタエラー"));

  printer.printers.clear();
  preview.ButtonPrint->click();
  ASSERT_EQ(prompts.messages.size(), 2);
  EXPECT_EQ(prompts.messages[1].text, QStringLiteral("プリンタがインストールされていません。"));
  EXPECT_EQ(prompts.messages[1].icon, PromptIcon::Stop);
}

TEST(CardPreviewWindow, LayoutAndWindowStateKeys) {
  QTemporaryDir dir;
  {
    TSettings settings(dir.path());
    TFPrintJimeijoCard preview(settings);
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("示名条印刷プレビュー"));
    EXPECT_EQ(preview.minimumSize(), QSize(640, 480));
    EXPECT_EQ(preview.size(), QSize(800, 600));
    QStringList captions;
    for (QPushButton* b : {preview.ButtonPrint, preview.ButtonPrev, preview.ButtonNext, preview.ButtonClose}) {
      captions << b->text();
      EXPECT_EQ(b->size(), QSize(70, 20));
    }
    EXPECT_EQ(captions, (QStringList{"印刷", "<<前ﾍﾟｰｼﾞ", "次ﾍﾟｰｼﾞ>>", "閉じる"}));
    EXPECT_EQ(preview.ButtonPrint->toolTip(), QStringLiteral("印刷"));
    EXPECT_EQ(preview.ButtonClose->statusTip(), QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰを閉じます"));
    EXPECT_TRUE(preview.ButtonPrint->isDefault());
    preview.resize(900, 700);
  }
  TSettings settings(dir.path());
  EXPECT_EQ(settings.ReadInteger(QStringLiteral("Position"), QStringLiteral("CardWidth"), 0), 900);
  EXPECT_EQ(settings.ReadInteger(QStringLiteral("Position"), QStringLiteral("CardWState"), -1), 0);
}
