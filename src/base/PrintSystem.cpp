#include "base/PrintSystem.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTabWidget>
#include <algorithm>

namespace {

// A job on a QPrinter. The printer is set to full page: the canvas origin is
// the paper's top-left corner, not the printable area's, so everything is
// placed from the paper corner whatever margins the printer cannot print.
class QtPrintJob final : public PrintJob {
 public:
  QtPrintJob(const QString& printerName, const QString& title, const QPageSize& paper,
             QPageLayout::Orientation orientation)
      : printer_(QPrinter::HighResolution) {
    printer_.setPrinterName(printerName);
    printer_.setDocName(title);
    printer_.setFullPage(true);
    printer_.setPageOrientation(orientation);
    if (paper.isValid()) printer_.setPageSize(paper);
    printer_.setCopyCount(1);
    printer_.setCollateCopies(false);
  }

  bool Begin() { return printer_.isValid() && painter_.begin(&printer_); }

  QPainter& Canvas() override { return painter_; }
  int DpiX() const override { return printer_.logicalDpiX(); }
  int DpiY() const override { return printer_.logicalDpiY(); }
  QPoint CanvasOrigin() const override {
    // Full page: the paper rectangle starts at the canvas origin.
    const QRectF paper = printer_.paperRect(QPrinter::DevicePixel);
    return QPoint(static_cast<int>(-paper.left()), static_cast<int>(-paper.top()));
  }
  bool NewPage() override { return printer_.newPage(); }
  bool End() override {
    if (!painter_.isActive()) return false;
    return painter_.end() && printer_.printerState() != QPrinter::Error;
  }

 private:
  QPrinter printer_;
  QPainter painter_;
};

// The print dialog with only what the program's jobs honour: the printer,
// copies, collate and, where the caller asks for one, a page range from and
// to. Each job is a fresh QPrinter made from the choice, so whatever else
// the dialog sets on its own printer (CUPS page lists, page sets, reverse
// order, colour, duplex, the printer's properties) would be dropped without
// a word; those controls are hidden. Qt shows its page controls again each
// time the dialog becomes visible, so they are hidden after that.
class HonouredPrintDialog final : public QPrintDialog {
 public:
  HonouredPrintDialog(QPrinter* printer, bool offerRange) : QPrintDialog(printer), offerRange_(offerRange) {
    setOption(QAbstractPrintDialog::PrintToFile, false);
    setOption(QAbstractPrintDialog::PrintSelection, false);
    setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    setOption(QAbstractPrintDialog::PrintShowPageSize, false);
    setOption(QAbstractPrintDialog::PrintPageRange, offerRange);
  }

  void setVisible(bool visible) override {
    QPrintDialog::setVisible(visible);
    if (visible) HideUnhonoured();
  }

 private:
  void HideUnhonoured() {
    QStringList names = {QStringLiteral("pagesRadioButton"), QStringLiteral("pagesLineEdit"),
                         QStringLiteral("pageSetLabel"), QStringLiteral("pageSetCombo"), QStringLiteral("reverse")};
    if (!offerRange_) names.append(QStringLiteral("gbPrintRange"));
    for (const QString& name : names) {
      if (QWidget* control = findChild<QWidget*>(name)) control->hide();
    }
    // The colour and duplex page.
    if (QWidget* page = findChild<QWidget*>(QStringLiteral("optionsTab"))) {
      if (auto* tabs = findChild<QTabWidget*>(QStringLiteral("tabs"))) tabs->removeTab(tabs->indexOf(page));
    }
  }

  bool offerRange_;
};

class QtPrintSystem final : public PrintSystem {
 public:
  QStringList Printers() const override { return QPrinterInfo::availablePrinterNames(); }

  int CurrentPrinter() const override {
    QStringList names = Printers();
    if (names.isEmpty()) return -1;
    if (current_ >= 0 && current_ < names.size()) return current_;
    int def = static_cast<int>(names.indexOf(QPrinterInfo::defaultPrinterName()));
    return def >= 0 ? def : 0;
  }

  void SetCurrentPrinter(int index) override {
    if (index != current_) paper_.reset();  // another printer has its own paper
    current_ = index;
  }

  std::optional<QList<QPageSize::PageSizeId>> PaperSizes(int printer) const override {
    const QPrinterInfo info = InfoOf(printer);
    if (info.isNull()) return std::nullopt;
    QList<QPageSize::PageSizeId> ids;
    for (const QPageSize& size : info.supportedPageSizes()) ids.append(size.id());
    return ids;
  }

  bool PaperSelectable(int printer) const override { return !InfoOf(printer).isNull(); }

  void SetPaper(QPageSize::PageSizeId paper) override { paper_ = paper; }
  QPageSize::PageSizeId Paper() const override {
    if (paper_) return *paper_;
    const QPrinterInfo info = InfoOf(CurrentPrinter());
    return info.isNull() ? QPageSize::A4 : info.defaultPageSize().id();
  }

  std::optional<PrintChoice> ShowPrintDialog(const PrintDialogRequest& request) override {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(CurrentPrinterName());
    const bool offerRange = request.maxPage > 0;
    HonouredPrintDialog dialog(&printer, offerRange);
    if (offerRange) {
      dialog.setMinMax(request.minPage, request.maxPage);
      dialog.setFromTo(request.minPage, request.maxPage);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const int chosen = static_cast<int>(Printers().indexOf(printer.printerName()));
    if (chosen >= 0) SetCurrentPrinter(chosen);
    PrintChoice choice;
    choice.copies = std::max(1, printer.copyCount());
    choice.collate = printer.collateCopies();
    if (offerRange && dialog.printRange() == QAbstractPrintDialog::PageRange) {
      choice.fromPage = dialog.fromPage();
      choice.toPage = dialog.toPage();
    }
    return choice;
  }

  std::unique_ptr<PrintJob> BeginJob(const QString& title,
                                     QPageLayout::Orientation orientation) override {
    auto job = std::make_unique<QtPrintJob>(CurrentPrinterName(), title, DriverPageSize(Paper()), orientation);
    if (!job->Begin()) return nullptr;
    return job;
  }

 private:
  QPrinterInfo InfoOf(int printer) const {
    const QStringList names = Printers();
    if (printer < 0 || printer >= names.size()) return QPrinterInfo();
    return QPrinterInfo::printerInfo(names[printer]);
  }

  // The driver's own definition of a paper: its size in points may differ a
  // little from the standard's (CUPS-PDF's A5 is 421 x 595 points). A job
  // of exactly the driver's size is passed through unscaled, so print stays
  // placed from the paper corner.
  QPageSize DriverPageSize(QPageSize::PageSizeId id) const {
    if (id == QPageSize::Custom) return QPageSize();
    for (const QPageSize& size : InfoOf(CurrentPrinter()).supportedPageSizes()) {
      if (size.id() == id) return size;
    }
    return QPageSize(id);
  }

  int current_ = -1;
  std::optional<QPageSize::PageSizeId> paper_;
};

QtPrintSystem& QtInstance() {
  static QtPrintSystem instance;
  return instance;
}

PrintSystem* installed = nullptr;

}  // namespace

QString PrintSystem::CurrentPrinterName() const {
  int index = CurrentPrinter();
  QStringList names = Printers();
  return index >= 0 && index < names.size() ? names[index] : QString();
}

PrintSystem& PrintSystem::Current() { return installed ? *installed : QtInstance(); }

void PrintSystem::Install(PrintSystem* system) { installed = system; }

QPageSize::PageSizeId PageSizeOfPaperCode(int code) {
  switch (code) {
    case 9: return QPageSize::A4;
    case 11: return QPageSize::A5;
    case 13: return QPageSize::JisB5;  // 182 x 257 mm
    default: return QPageSize::Custom;
  }
}

int SetPaperSize(PrintSystem& system, int paperCode) {
  const int printer = system.CurrentPrinter();
  if (printer < 0) return kPaperQueryFailed;
  system.SetCurrentPrinter(printer);
  if (!system.PaperSelectable(printer)) return kPaperNotSelectable;
  const auto papers = system.PaperSizes(printer);
  if (!papers) return kPaperQueryFailed;
  if (papers->isEmpty()) return kNoPapers;
  const QPageSize::PageSizeId wanted = PageSizeOfPaperCode(paperCode);
  if (wanted == QPageSize::Custom || !papers->contains(wanted)) return kPaperNotOffered;
  system.SetPaper(wanted);
  return kPaperSet;
}
