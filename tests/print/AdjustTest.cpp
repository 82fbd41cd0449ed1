// The print adjustment: which entries are numbers, the "#0.0###" form, and
// the dialog's OK, refusal and cancel on the real widgets.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "base/Mainsub.h"
#include "print/Adjust.h"
#include "print/AdjustmentText.h"
#include "support/FakePrintSystem.h"
#include "support/FakePrompts.h"

TEST(AdjustmentText, AcceptsSignedDecimalsAndShowsThemWithOneToFourDecimals) {
  struct Row {
    const char* entry;
    const char* shown;
  } accepted[] = {{"-1.5", "-1.5"}, {"2", "2.0"}, {"-.5", "-0.5"}, {"0.12345", "0.1235"},
                  {"0", "0.0"}, {"-2.25", "-2.25"}, {"3.", "3.0"}, {"007.10", "7.1"}};
  for (const Row& row : accepted) {
    SCOPED_TRACE(row.entry);
    const auto value = ParseAdjustment(QString::fromUtf8(row.entry));
    ASSERT_TRUE(value);
    EXPECT_EQ(FormatAdjustment(*value), QString::fromUtf8(row.shown));
  }
  for (const char* refused : {"1.2.3", "+1", ".5", "1,5", "-", "１２", "", " 1", "1-2", "-.", "2e3"}) {
    SCOPED_TRACE(refused);
    EXPECT_FALSE(ParseAdjustment(QString::fromUtf8(refused)));
  }
  EXPECT_TRUE(IsAdjustmentText(QStringLiteral("-.")));  // the rule lets it through; no number in it
}

namespace {

struct AdjustDialogTest : ::testing::Test {
  QTemporaryDir dir;
  TSettings settings{dir.path()};
  FakePrompts prompts;
  FakePrintSystem printer;
  TFAdjust dialog{settings};

  // Shows the dialog, types into both boxes and presses the button; a
  // refused OK leaves the dialog open, which then gets cancelled.
  int Enter(const QString& vertical, const QString& horizontal, QPushButton* button = nullptr) {
    QTimer::singleShot(0, [&] {
      dialog.EditVertical->setText(vertical);
      dialog.EditHorizontal->setText(horizontal);
      (button ? button : dialog.ButtonOk)->click();
      if (dialog.isVisible()) {
        stayedOpen = true;
        focusedBox = dialog.focusWidget();
        selected = focusedBox == dialog.EditVertical ? dialog.EditVertical->selectedText()
                                                     : dialog.EditHorizontal->selectedText();
        dialog.reject();
      }
    });
    return dialog.ShowModal();
  }
  bool stayedOpen = false;
  QWidget* focusedBox = nullptr;
  QString selected;
};

}  // namespace

TEST_F(AdjustDialogTest, OkStoresBothOffsetsAndTheNextShowRepeatsThem) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("プリンタの微調整"));
  EXPECT_EQ(dialog.size(), QSize(321, 290));
  EXPECT_EQ(dialog.LabelPrinter->text(), QStringLiteral("なし"));
  EXPECT_EQ(dialog.ButtonCancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  EXPECT_EQ(Enter("-.5", "0.12345"), QDialog::Accepted);
  EXPECT_EQ(dialog.LabelPrinter->text(), QStringLiteral("Fake Printer"));
  EXPECT_EQ(dialog.Adjustment().vertical, Decimal4::FromDouble(-0.5));
  EXPECT_EQ(dialog.Adjustment().horizontal, Decimal4::FromDouble(0.1235));
  EXPECT_EQ(dialog.EditVertical->text(), QStringLiteral("-0.5"));
  EXPECT_EQ(dialog.EditHorizontal->text(), QStringLiteral("0.1235"));

  // Cancel keeps the stored values; the next show has them, not the typed text.
  EXPECT_EQ(Enter("7", "8", dialog.ButtonCancel), QDialog::Rejected);
  EXPECT_EQ(dialog.Adjustment().vertical, Decimal4::FromDouble(-0.5));
  QTimer::singleShot(0, [&] {
    selected = dialog.EditVertical->selectedText();
    focusedBox = dialog.focusWidget();
    dialog.reject();
  });
  dialog.ShowModal();
  EXPECT_EQ(dialog.EditVertical->text(), QStringLiteral("-0.5"));
  EXPECT_EQ(selected, QStringLiteral("-0.5"));
  EXPECT_EQ(focusedBox, dialog.EditVertical);
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(AdjustDialogTest, AnEntryThatIsNoNumberIsRefusedWithTheBoxSelected) {
  EXPECT_EQ(Enter("1.5", "1,5"), QDialog::Rejected);
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("数字のみ入力してください。"));
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("エラー"));
  EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
  EXPECT_EQ(focusedBox, dialog.EditHorizontal);
  EXPECT_EQ(selected, QStringLiteral("1,5"));
  EXPECT_EQ(dialog.Adjustment().vertical, Decimal4());  // nothing stored

  stayedOpen = false;
  Enter("", "2");
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(focusedBox, dialog.EditVertical);
  EXPECT_EQ(prompts.messages.size(), 2);
}

TEST(AdjustDialog, OffsetsStartAtZeroInEveryRunAndThePositionIsKept) {
  QTemporaryDir dir;
  {
    TSettings settings(dir.path());
    TFAdjust dialog(settings);
    dialog.move(140, 120);
  }
  TSettings settings(dir.path());
  EXPECT_EQ(settings.ReadInteger(QStringLiteral("Position"), QStringLiteral("AdjustLeft"), 0), 140);
  TFAdjust dialog(settings);
  EXPECT_EQ(dialog.Adjustment().vertical, Decimal4());
  EXPECT_EQ(dialog.Adjustment().horizontal, Decimal4());
}

TEST_F(AdjustDialogTest, TestPrintPrintsTheCalibrationSheetWithTheTypedOffsetsAndStoresNothing) {
  EXPECT_EQ(dialog.ButtonTestPrint->text(), QStringLiteral("テスト印刷"));
  Enter(QStringLiteral("1.5"), QStringLiteral("-2"), dialog.ButtonTestPrint);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(dialog.VerticalMm(), 0);
  ASSERT_EQ(printer.jobs.size(), 1);
  const RecordedJob& job = printer.jobs[0];
  EXPECT_EQ(job.title, QStringLiteral("テスト印刷"));
  EXPECT_EQ(job.paper, QPageSize::A4);  // the paper chosen when none is named
  ASSERT_EQ(job.pages.size(), 1);
  // 10 pixels a millimetre: the top-left crosshair's vertical arm at 18 mm,
  // its horizontal arm at 21.5 mm, and nothing where it would be unshifted.
  const QImage& page = job.pages[0];
  const auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 200; };
  EXPECT_TRUE(dark(179, 190) || dark(180, 190));
  EXPECT_TRUE(dark(150, 214) || dark(150, 215));
  EXPECT_FALSE(dark(200, 170) || dark(199, 170));

  stayedOpen = false;
  printer.failBegin = true;
  Enter(QStringLiteral("0"), QStringLiteral("0"), dialog.ButtonTestPrint);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("プリンタエラー"));

  Enter(QStringLiteral("1..2"), QStringLiteral("0"), dialog.ButtonTestPrint);
  ASSERT_EQ(prompts.messages.size(), 2);
  EXPECT_EQ(prompts.messages[1].text, QStringLiteral("数字のみ入力してください。"));
  EXPECT_EQ(printer.jobs.size(), 1);
}

// The test print's paper: the one named when the dialog opens, or the one
// the user picks, whatever paper the printer had.
TEST_F(AdjustDialogTest, TestPrintUsesThePaperChosenBesideIt) {
  EXPECT_EQ(dialog.ComboBoxPaper->count(), 3);
  struct Row {
    const char* named;
    int picked;  // -1: as named
    QPageSize::PageSizeId printed;
  } rows[] = {{"B5", -1, QPageSize::JisB5}, {"A5", -1, QPageSize::A5}, {"A5", 1, QPageSize::A4},
              {"A4", 2, QPageSize::JisB5}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.named);
    printer.jobs.clear();
    QString shown;
    QTimer::singleShot(0, [&] {
      shown = dialog.ComboBoxPaper->currentText();
      if (row.picked >= 0) dialog.ComboBoxPaper->setCurrentIndex(row.picked);
      dialog.ButtonTestPrint->click();
      dialog.reject();
    });
    dialog.ShowModal(QString::fromLatin1(row.named));
    EXPECT_EQ(shown, QString::fromLatin1(row.named));
    ASSERT_EQ(printer.jobs.size(), 1);
    EXPECT_EQ(printer.jobs[0].paper, row.printed);
  }
}
