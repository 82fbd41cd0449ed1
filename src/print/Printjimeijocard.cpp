#include "print/Printjimeijocard.h"

#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "base/Mainsub.h"
#include "base/Placement.h"
#include "base/PrintSystem.h"
#include "base/ProgressDialog.h"
#include "base/Prompts.h"
#include "print/CardPrint.h"
#include "view/CanvasImage.h"

namespace {

constexpr char kPrintingText[] = "示名条を印刷しています (%1 / %2)";
constexpr char kStoppedText[] = "印刷を中止しました。\n%1 件のうち %2 件の示名条をプリンタに送りました。";

void PageMessage(const char* text) {
  Prompts::Current().Message(QString::fromUtf8(text), QStringLiteral("エラー"), PromptIcon::Exclamation,
                             PromptButtons::Ok);
}

}  // namespace

TFPrintJimeijoCard::TFPrintJimeijoCard(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FPrintJimeijoCard"));
  setWindowTitle(QStringLiteral("示名条印刷プレビュー"));
  const PreviewControls c = BuildPreviewControls(this);
  ButtonPrint = c.ButtonPrint;
  ButtonPrev = c.ButtonPrev;
  ButtonNext = c.ButtonNext;
  ButtonClose = c.ButtonClose;
  ScrollBox1 = c.ScrollBox1;
  imgPage = c.imgPage;
  connect(ButtonPrint, &QPushButton::clicked, this, &TFPrintJimeijoCard::ButtonPrintClick);
  connect(ButtonPrev, &QPushButton::clicked, this, &TFPrintJimeijoCard::ButtonPrevClick);
  connect(ButtonNext, &QPushButton::clicked, this, &TFPrintJimeijoCard::ButtonNextClick);
  RestoreWindowPlacement(this, settings_, QStringLiteral("Card"), {0, 0, 800, 600, 0});
}

TFPrintJimeijoCard::~TFPrintJimeijoCard() {
  SaveWindowPlacement(this, settings_, QStringLiteral("Card"));
}

void TFPrintJimeijoCard::Prepare(const StripDocument& document, const QList<int>& selection,
                                 const PrintAdjustment& adjustment) {
  printedText_.clear();
  document_ = &document;
  adjustment_ = &adjustment;
  selection_ = selection;
  currentPage_ = 0;
  UpdateButtons();
  DrawPage();
}

int TFPrintJimeijoCard::ShowModal(const StripDocument& document, const QList<int>& selection,
                                  const PrintAdjustment& adjustment) {
  Prepare(document, selection, adjustment);
  const int result = exec();
  selection_.clear();
  document_ = nullptr;
  return result;
}

void TFPrintJimeijoCard::UpdateButtons() {
  ButtonPrev->setEnabled(currentPage_ >= 1);
  ButtonNext->setEnabled(currentPage_ < selection_.size() - 1);
}

void TFPrintJimeijoCard::DrawPage() {
  if (!document_ || currentPage_ < 0 || currentPage_ >= selection_.size()) return;
  QImage page;
  try {
    page = RenderCardPreview(*document_, selection_[currentPage_], *adjustment_, imgPage->devicePixelRatioF());
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
    return;
  }
  if (page.isNull()) return;  // no such strip: the previous image stays
  ScrollBox1->horizontalScrollBar()->setValue(0);
  ScrollBox1->verticalScrollBar()->setValue(0);
  imgPage->SetImage(page);
}

void TFPrintJimeijoCard::ButtonNextClick() {
  if (currentPage_ + 1 >= selection_.size()) {
    PageMessage("これより次のページはありません。");
    return;
  }
  ++currentPage_;
  UpdateButtons();
  DrawPage();
}

void TFPrintJimeijoCard::ButtonPrevClick() {
  if (currentPage_ - 1 < 0) {
    PageMessage("これより前のページはありません。");
    return;
  }
  --currentPage_;
  UpdateButtons();
  DrawPage();
}

void TFPrintJimeijoCard::ButtonPrintClick() {
  PrintSystem& system = PrintSystem::Current();
  if (!system.HasPrinters()) {
    Prompts::Error(QString::fromUtf8(kNoPrinterText));
    return;
  }
  const PrintRunning running(ButtonPrint);
  if (!document_) return;
  const std::optional<PrintChoice> choice = system.ShowPrintDialog({});
  if (!choice) return;
  const PrintAdjustment adjustment = *adjustment_;
  const int jobs = static_cast<int>(PlanCardJobs(static_cast<int>(selection_.size()), choice->copies, choice->collate).size());
  CardPrintResult result;
  RunWithProgress(this, {QString::fromUtf8(kCardJobTitle), QString::fromUtf8(kPrintingText)}, jobs,
                  [&](Progress& progress) {
                    result = PrintStripCards(system, *document_, selection_, *choice, adjustment, progress);
                  });
  if (result.jobsSent > 0) {
    printedText_ = QStringLiteral("示名条の印刷ジョブを%1件プリンタに送りました").arg(result.jobsSent);
  }
  if (result.stop == CardPrintResult::kPrinterFailed) {
    Prompts::PrinterError(QString::fromUtf8(kPrinterErrorText));
  } else if (result.stop == CardPrintResult::kDamagedStrip) {
    Prompts::Error(result.damage);
  } else if (result.stop == CardPrintResult::kCancelled) {
    Prompts::Notice(QString::fromUtf8(kStoppedText).arg(result.jobCount).arg(result.jobsSent));
  }
}
