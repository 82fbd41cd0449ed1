#include "print/Printjimeijolist.h"

#include "base/Mainsub.h"
#include "base/Placement.h"

TFPrintJimeijoList::TFPrintJimeijoList(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FPrintJimeijoList"));
  setWindowTitle(QStringLiteral("示名条一覧印刷プレビュー"));
  RestoreWindowPlacement(this, settings_, QStringLiteral("List"), {0, 0, 1000, 600, 0});
}

TFPrintJimeijoList::~TFPrintJimeijoList() {
  SaveWindowPlacement(this, settings_, QStringLiteral("List"));
}
