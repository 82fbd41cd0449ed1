#include "view/Search.h"

#include "base/Mainsub.h"

TFSearch::TFSearch(TSettings&, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FSearch"));
  setWindowTitle(QStringLiteral("検索"));
  setFixedSize(424, 110);
  setWindowFlag(Qt::WindowStaysOnTopHint);
}
