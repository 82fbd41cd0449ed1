#include "print/Printjimeijolist.h"

#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "base/Mainsub.h"
#include "base/Placement.h"
#include "base/PrintSystem.h"
#include "base/ProgressDialog.h"
#include "base/Prompts.h"
#include "view/CanvasImage.h"
#include "view/StripRenderer.h"

namespace {

constexpr char kPrintingText[] = "示名条一覧を印刷しています (%1 / %2)";
constexpr char kStoppedText[] = "印刷を中止しました。\n%1 ページのうち %2 ページをプリンタに送りました。";

}  // namespace

TFPrintJimeijoList::TFPrintJimeijoList(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FPrintJimeijoList"));
  setWindowTitle(QStringLiteral("示名条一覧印刷プレビュー"));
  const PreviewControls c = BuildPreviewControls(this);
  ButtonPrint = c.ButtonPrint;
  ButtonPrev = c.ButtonPrev;
  ButtonNext = c.ButtonNext;
  ButtonClose = c.ButtonClose;
  ScrollBox1 = c.ScrollBox1;
  imgPage = c.imgPage;
  connect(ButtonPrint, &QPushButton::clicked, this, &TFPrintJimeijoList::ButtonPrintClick);
  connect(ButtonPrev, &QPushButton::clicked, this, &TFPrintJimeijoList::ButtonPrevClick);
  connect(ButtonNext, &QPushButton::clicked, this, &TFPrintJimeijoList::ButtonNextClick);
  RestoreWindowPlacement(this, settings_, QStringLiteral("List"), {0, 0, 1000, 600, 0});
}

TFPrintJimeijoList::~TFPrintJimeijoList() {
  SaveWindowPlacement(this, settings_, QStringLiteral("List"));
}

void TFPrintJimeijoList::RebuildRows() {
  rows_ = BuildListRows(source_ ? source_() : QList<StripRow>());
  pageCount_ = ListPageCount(static_cast<int>(rows_.size()));
}

void TFPrintJimeijoList::Prepare(RowSource source) {
  printedText_.clear();
  source_ = std::move(source);
  RebuildRows();
  currentPage_ = 1;
  ButtonPrev->setEnabled(false);
  ButtonNext->setEnabled(pageCount_ > 1);
  ShowPage();
}

int TFPrintJimeijoList::ShowModal(RowSource source) {
  Prepare(std::move(source));
  return exec();
}

void TFPrintJimeijoList::ShowPage() {
  ScrollBox1->horizontalScrollBar()->setValue(0);
  ScrollBox1->verticalScrollBar()->setValue(0);
  // At the screen's resolution, as the strip view draws: sharp on a 200 % desktop.
  QImage page = NewScreenImage(QSize(kPageWidth, kPageHeight), imgPage->devicePixelRatioF());
  {
    QPainter painter(&page);
    DrawListPage(painter, rows_, currentPage_, QDateTime::currentDateTime());
  }
  imgPage->SetImage(page);
}

void TFPrintJimeijoList::ButtonNextClick() {
  if (currentPage_ >= pageCount_) return;
  ++currentPage_;
  ShowPage();
  ButtonPrev->setEnabled(true);
  if (currentPage_ == pageCount_) ButtonNext->setEnabled(false);
}

void TFPrintJimeijoList::ButtonPrevClick() {
  if (currentPage_ <= 1) return;
  --currentPage_;
  ShowPage();
  ButtonNext->setEnabled(true);
  if (currentPage_ == 1) ButtonPrev->setEnabled(false);
}

void TFPrintJimeijoList::ButtonPrintClick() {
  PrintSystem& system = PrintSystem::Current();
  if (!system.HasPrinters()) {
    Prompts::Error(QString::fromUtf8(kNoPrinterText));
    return;
  }
  const PrintRunning running(ButtonPrint);
  RebuildRows();
  const std::optional<PrintChoice> choice = system.ShowPrintDialog({1, pageCount_});
  if (!choice) return;
  const QDateTime now = QDateTime::currentDateTime();
  ListPrintResult result;
  RunWithProgress(this, {QString::fromUtf8(kListJobTitle), QString::fromUtf8(kPrintingText)},
                  static_cast<int>(ListJobPages(pageCount_, *choice).size()),
                  [&](Progress& progress) { result = PrintStripList(system, rows_, *choice, now, progress); });
  if (result.pagesSent > 0) {
    printedText_ = QStringLiteral("示名条一覧を%1ページ印刷しました").arg(result.pagesSent);
  }
  if (result.stop == ListPrintResult::kPrinterFailed) {
    Prompts::PrinterError(QString::fromUtf8(kPrinterErrorText));
  } else if (result.stop == ListPrintResult::kCancelled) {
    Prompts::Notice(QString::fromUtf8(kStoppedText).arg(result.pageCount).arg(result.pagesSent));
  }
}
