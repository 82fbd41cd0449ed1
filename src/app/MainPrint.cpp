// The print commands of the main window: the print adjustment, strip card
// printing, strip list printing and the PDF export of strip cards. The
// printing commands check for a printer; each commits the key being typed
// and hands over to its print window or to the PDF export.
#include <QDir>
#include <QFileInfo>
#include <QTreeWidget>

#include "app/Main.h"
#include "base/PrintSystem.h"
#include "base/ProgressDialog.h"
#include "base/Prompts.h"
#include "print/Adjust.h"
#include "print/Calibration.h"
#include "print/Printjimeijocard.h"
#include "print/PdfExport.h"
#include "print/Printjimeijolist.h"

namespace {

// The rows to print: every selected row in list order, else the focused one.
QList<int> PrintSelection(const QTreeWidget* list) {
  QList<int> rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    if (list->topLevelItem(i)->isSelected()) rows.append(i);
  }
  if (rows.isEmpty() && list->currentItem()) rows.append(list->indexOfTopLevelItem(list->currentItem()));
  return rows;
}

const PrintAdjustment& NoAdjustment() {
  static const PrintAdjustment none;
  return none;
}

const PrintAdjustment& CurrentAdjustment(const AppWindows& windows) {
  return windows.adjust ? windows.adjust->Adjustment() : NoAdjustment();
}

// The save dialog of the PDF export: beside the data file, named after it.
FileDialogSpec PdfDialog(const QString& dataFile) {
  FileDialogSpec form;
  form.title = QStringLiteral("PDFに出力");
  form.filter = QStringLiteral("PDFファイル(*.pdf)|*.pdf");
  form.defaultExtension = QStringLiteral("pdf");
  PlaceBeside(form, dataFile, form.defaultExtension);
  return form;
}

QString SkippedText(const QList<SkippedStrip>& skipped) {
  QStringList lines;
  for (const SkippedStrip& strip : skipped) {
    lines.append(QStringLiteral("示名条 %1：%2").arg(strip.number).arg(strip.reason));
  }
  return lines.join(QLatin1Char('\n')) + QStringLiteral("\nこの示名条はPDFに出力していません。");
}

}  // namespace

void TFMain::ActionFileSetupExecute() {
  if (!PrintSystem::Current().HasPrinters()) {
    Prompts::Error(QString::fromUtf8(kNoPrinterText));
    return;
  }
  // The test print starts on the paper the current strip prints on.
  if (windows_.adjust) windows_.adjust->ShowModal(CalibrationPaperOfStrip(document_, currentStripNumber_).name);
}

void TFMain::ActionFilePrintExecute() {
  if (ListView1->topLevelItemCount() == 0) return;
  if (!PrintSystem::Current().HasPrinters()) {
    Prompts::Error(QString::fromUtf8(kNoPrinterMainText));
    return;
  }
  CommitPendingKey();
  const QList<int> selection = PrintSelection(ListView1);
  if (selection.isEmpty() || !windows_.printCard) return;
  windows_.printCard->ShowModal(document_, selection, CurrentAdjustment(windows_));
  if (!windows_.printCard->PrintedText().isEmpty()) ShowStatusMessage(windows_.printCard->PrintedText());
}

void TFMain::ActionFilePrintListExecute() {
  if (ListView1->topLevelItemCount() == 0) return;
  if (!PrintSystem::Current().HasPrinters()) {
    Prompts::Error(QString::fromUtf8(kNoPrinterMainText));
    return;
  }
  CommitPendingKey();
  if (!windows_.printList) return;
  windows_.printList->ShowModal([this] { return ListRows(); });
  if (!windows_.printList->PrintedText().isEmpty()) ShowStatusMessage(windows_.printList->PrintedText());
}

void TFMain::ActionFileExportPdfExecute() {
  if (ListView1->topLevelItemCount() == 0) return;
  CommitPendingKey();
  const QList<int> selection = PrintSelection(ListView1);
  if (selection.isEmpty()) return;
  const std::optional<QString> chosen = Prompts::Current().SaveFile(PdfDialog(FileName()));
  if (!chosen) return;
  const QString path = WithDefaultExtension(*chosen, QStringLiteral("pdf"));
  const PrintAdjustment adjustment = CurrentAdjustment(windows_);
  StripCardsPdf pdf;
  RunWithProgress(this, {QStringLiteral("PDFに出力"), QStringLiteral("PDFに出力しています (%1 / %2)")},
                  static_cast<int>(selection.size()),
                  [&](Progress& progress) { pdf = RenderStripCardsPdf(document_, selection, adjustment, progress); });
  if (pdf.cancelled) {
    Prompts::Notice(QStringLiteral("PDFへの出力を中止しました。\nファイルは保存していません。"));
    return;
  }
  if (pdf.pages > 0 && !WritePdfFile(path, pdf.pdf)) {
    Prompts::Error(QStringLiteral("PDFファイルを保存できませんでした。\n%1").arg(QDir::toNativeSeparators(path)));
    return;
  }
  if (pdf.pages > 0) {
    ShowStatusMessage(QStringLiteral("示名条%1件をPDFに出力しました：%2").arg(pdf.pages).arg(QDir::toNativeSeparators(path)));
  }
  if (!pdf.skipped.isEmpty()) Prompts::Error(SkippedText(pdf.skipped));
}
