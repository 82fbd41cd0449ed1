#include "keylabels/Keylabel.h"

#include "base/Mainsub.h"
#include "base/Placement.h"

TFKeyLabel::TFKeyLabel(TSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FKeyLabel"));
  setWindowTitle(QStringLiteral("キーラベル設定"));
  setFixedSize(518, 506);
  RestoreDialogPosition(this, settings_, QStringLiteral("KeyLabelTop"), QStringLiteral("KeyLabelLeft"));
}

TFKeyLabel::~TFKeyLabel() {
  SaveDialogPosition(this, settings_, QStringLiteral("KeyLabelTop"), QStringLiteral("KeyLabelLeft"));
}
