#include "document/Teladd.h"

#include "base/Mainsub.h"
#include "base/Placement.h"

TFTelAdd::TFTelAdd(TSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FTelAdd"));
  setWindowTitle(QStringLiteral("示名条の作成"));
  setFixedSize(442, 336);
  RestoreDialogPosition(this, settings_, QStringLiteral("TelAddTop"), QStringLiteral("TelAddLeft"));
}

TFTelAdd::~TFTelAdd() {
  SaveDialogPosition(this, settings_, QStringLiteral("TelAddTop"), QStringLiteral("TelAddLeft"));
}
