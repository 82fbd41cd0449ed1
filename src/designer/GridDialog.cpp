#include "designer/GridDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

#include "base/Prompts.h"
#include "base/ShiftJis.h"

namespace {

QDoubleSpinBox* MmBox(QWidget* parent, double value) {
  auto* box = new QDoubleSpinBox(parent);
  box->setDecimals(4);
  box->setRange(0.1, 400);
  box->setSingleStep(0.5);
  box->setSuffix(QStringLiteral(" mm"));
  box->setValue(value);
  return box;
}

QSpinBox* CountBox(QWidget* parent, int low, int high, int value) {
  auto* box = new QSpinBox(parent);
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

}  // namespace

GridDialog::GridDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("キーの追加"));
  auto* form = new QFormLayout(this);
  rows_ = CountBox(this, 1, 100, 12);
  columns_ = CountBox(this, 1, 100, 2);
  keyWidth_ = MmBox(this, 38);
  keyHeight_ = MmBox(this, 9);
  pitchX_ = MmBox(this, 39);
  pitchY_ = MmBox(this, 10);
  inset_ = MmBox(this, 1);
  inset_->setMinimum(0);
  labels_ = new QComboBox(this);
  labels_->addItems({QStringLiteral("左"), QStringLiteral("右"), QStringLiteral("なし")});
  firstNumber_ = CountBox(this, 1, 999, 1);
  across_ = new QCheckBox(QStringLiteral("横に番号を振る（しなければ列ごとに縦）"), this);
  fixedTexts_ = new QLineEdit(this);
  fixedTexts_->setPlaceholderText(QStringLiteral("例: 保留,転送"));
  form->addRow(QStringLiteral("行数"), rows_);
  form->addRow(QStringLiteral("列数"), columns_);
  form->addRow(QStringLiteral("キーの幅"), keyWidth_);
  form->addRow(QStringLiteral("キーの高さ"), keyHeight_);
  form->addRow(QStringLiteral("横の間隔（ピッチ）"), pitchX_);
  form->addRow(QStringLiteral("縦の間隔（ピッチ）"), pitchY_);
  form->addRow(QStringLiteral("文字の領域の余白"), inset_);
  form->addRow(QStringLiteral("番号ラベル"), labels_);
  form->addRow(QStringLiteral("最初の番号"), firstNumber_);
  form->addRow(QString(), across_);
  form->addRow(QStringLiteral("固定キー（,で区切る）"), fixedTexts_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &GridDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

std::optional<GridDescription> GridDialog::Description(QString* problem) const {
  GridDescription grid;
  grid.groups = {GridGroup{rows_->value(), columns_->value(), std::nullopt, std::nullopt}};
  grid.keyWidth = Decimal4::FromDouble(keyWidth_->value());
  grid.keyHeight = Decimal4::FromDouble(keyHeight_->value());
  grid.pitchX = Decimal4::FromDouble(pitchX_->value());
  grid.pitchY = Decimal4::FromDouble(pitchY_->value());
  grid.inset = Decimal4::FromDouble(inset_->value());
  grid.labels = static_cast<NumberLabels>(labels_->currentIndex());
  grid.firstNumber = firstNumber_->value();
  grid.numberAcross = across_->isChecked();
  const Decimal4 two = Decimal4::FromInt(2);
  if (grid.inset * two >= grid.keyHeight || grid.inset * two >= grid.keyWidth) {
    *problem = QStringLiteral("余白がキーの大きさに対して大きすぎます。");
    return std::nullopt;
  }
  for (const QString& text : fixedTexts_->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const std::optional<QByteArray> bytes = sjis::EncodeExactly(text.trimmed());
    if (!bytes || bytes->size() > 20) {
      *problem = QStringLiteral("固定キー「%1」はShift_JISで20バイトまでにしてください。").arg(text.trimmed());
      return std::nullopt;
    }
    grid.fixedTexts << *bytes;
  }
  return grid;
}

void GridDialog::accept() {
  QString problem;
  if (!Description(&problem)) {
    Prompts::Error(problem);
    return;
  }
  QDialog::accept();
}
