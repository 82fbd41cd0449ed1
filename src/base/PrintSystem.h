#pragma once
// What the program asks of the printing system: the installed printers, the
// current one, the paper sizes it offers, the paper the next job uses, the
// print dialog and print jobs. The Qt implementation works over CUPS; tests
// use a recording fake.

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QPainter;

// What the print dialog asks; a page range is offered only when maxPage > 0.
struct PrintDialogRequest {
  int minPage = 0;
  int maxPage = 0;
};

// What the user chose in the print dialog (the printer becomes current).
struct PrintChoice {
  int copies = 1;
  bool collate = false;
  // The page range asked for; 0 when the user asked for all pages.
  int fromPage = 0;
  int toPage = 0;
};

// One print job: pages drawn on one canvas, sent when it ends.
class PrintJob {
 public:
  virtual ~PrintJob() = default;
  // The canvas of the current page. Its (0, 0) lies at CanvasOrigin() from
  // the paper's top-left corner.
  virtual QPainter& Canvas() = 0;
  // Device resolution in dots per inch.
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;
  // Where the canvas origin lies from the paper corner, in device pixels.
  virtual QPoint CanvasOrigin() const = 0;
  // Starts the next page; false when the device refuses.
  virtual bool NewPage() = 0;
  // Ends the job and sends it; false when it could not be sent.
  virtual bool End() = 0;
};

class PrintSystem {
 public:
  virtual ~PrintSystem() = default;

  virtual QStringList Printers() const = 0;
  // Index into Printers() of the current printer, -1 when there is none.
  virtual int CurrentPrinter() const = 0;
  virtual void SetCurrentPrinter(int index) = 0;
  // The paper sizes the printer's driver offers; nothing when the query
  // fails.
  virtual std::optional<QList<QPageSize::PageSizeId>> PaperSizes(int printer) const = 0;
  // Whether the driver lets a program choose the paper at all.
  virtual bool PaperSelectable(int printer) const = 0;
  // The paper the next job on the current printer uses ("device mode").
  virtual void SetPaper(QPageSize::PageSizeId paper) = 0;
  virtual QPageSize::PageSizeId Paper() const = 0;

  // Shows the print dialog for the current printer; nothing when cancelled.
  virtual std::optional<PrintChoice> ShowPrintDialog(const PrintDialogRequest& request) = 0;
  // Begins a job of one copy on the current printer with the current paper;
  // nullptr when the printer cannot start it.
  virtual std::unique_ptr<PrintJob> BeginJob(const QString& title,
                                             QPageLayout::Orientation orientation) = 0;

  bool HasPrinters() const { return !Printers().isEmpty(); }
  // The name of the current printer, empty when there is none.
  QString CurrentPrinterName() const;

  static PrintSystem& Current();
  static void Install(PrintSystem* system);  // not owned; nullptr restores Qt's
};

// Paper codes of the data and settings <-> Qt page sizes (9 A4, 11 A5, 13 B5).
QPageSize::PageSizeId PageSizeOfPaperCode(int code);

// Outcomes of SetPaperSize.
enum SetPaperResult {
  kPaperSet = 0,
  kPaperNotOffered = 1,
  kPaperNotSelectable = 2,
  kNoPapers = 3,
  kPaperQueryFailed = 4,
};

// Selects a paper code on the current printer when its driver offers it;
// otherwise the printer keeps its paper.
int SetPaperSize(PrintSystem& system, int paperCode);

// Printer messages; the main window's and the preview's no-printer texts
// differ by one character.
inline constexpr char kNoPrinterMainText[] = "プリンターがインストールされていません。";
inline constexpr char kNoPrinterText[] = "プリンタがインストールされていません。";
inline constexpr char kPrinterErrorText[] =
    "プリンタの設定に問題があります。\nプリンタの設定を見直すか、またはプリンタドライバをインストールし直してください。";
