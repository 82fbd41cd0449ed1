#include "print/Printjimeijocard.h"

#include "base/Mainsub.h"
#include "base/Placement.h"

TFPrintJimeijoCard::TFPrintJimeijoCard(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FPrintJimeijoCard"));
  setWindowTitle(QStringLiteral("示名条印刷プレビュー"));
  RestoreWindowPlacement(this, settings_, QStringLiteral("Card"), {0, 0, 800, 600, 0});
}

TFPrintJimeijoCard::~TFPrintJimeijoCard() {
  SaveWindowPlacement(this, settings_, QStringLiteral("Card"));
}
