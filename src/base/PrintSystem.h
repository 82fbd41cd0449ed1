#pragma once
// What the program asks of the printing system: the installed printers, the
// current one, the paper sizes it offers and its device figures. The Qt
// implementation works over CUPS; tests use a recording fake.

#include <QPageSize>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QList>

class PrintSystem {
 public:
  virtual ~PrintSystem() = default;

  virtual QStringList Printers() const = 0;
  // Index into Printers() of the current printer, -1 when there is none.
  virtual int CurrentPrinter() const = 0;
  virtual void SetCurrentPrinter(int index) = 0;
  virtual QList<QPageSize::PageSizeId> PaperSizes(int printer) const = 0;

  bool HasPrinters() const { return !Printers().isEmpty(); }
  // The name of the current printer, empty when there is none.
  QString CurrentPrinterName() const;

  static PrintSystem& Current();
  static void Install(PrintSystem* system);  // not owned; nullptr restores Qt's
};

// Paper codes of the data and settings <-> Qt page sizes (9 A4, 11 A5, 13 B5).
QPageSize::PageSizeId PageSizeOfPaperCode(int code);
