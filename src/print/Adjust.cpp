#include "print/Adjust.h"

#include "base/Mainsub.h"
#include "base/Placement.h"

TFAdjust::TFAdjust(TSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FAdjust"));
  setWindowTitle(QStringLiteral("プリンタの微調整"));
  setFixedSize(321, 290);
  RestoreDialogPosition(this, settings_, QStringLiteral("AdjustTop"), QStringLiteral("AdjustLeft"));
}

TFAdjust::~TFAdjust() {
  SaveDialogPosition(this, settings_, QStringLiteral("AdjustTop"), QStringLiteral("AdjustLeft"));
}
