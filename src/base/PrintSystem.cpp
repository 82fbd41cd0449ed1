#include "base/PrintSystem.h"

#include <QPrinterInfo>

namespace {

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

  void SetCurrentPrinter(int index) override { current_ = index; }

  QList<QPageSize::PageSizeId> PaperSizes(int printer) const override {
    QStringList names = Printers();
    QList<QPageSize::PageSizeId> ids;
    if (printer < 0 || printer >= names.size()) return ids;
    for (const QPageSize& size : QPrinterInfo::printerInfo(names[printer]).supportedPageSizes()) {
      ids.append(size.id());
    }
    return ids;
  }

 private:
  int current_ = -1;
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
