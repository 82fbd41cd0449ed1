#include "print/Adjust.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "base/DialogFrame.h"
#include "base/Mainsub.h"
#include "base/Placement.h"
#include "base/PrintSystem.h"
#include "base/Prompts.h"
#include "print/AdjustmentText.h"
#include "print/Calibration.h"

namespace {

QLineEdit* AddOffsetRow(QWidget* group, int top, const QString& caption, const QString& note,
                        const QString& name) {
  auto* label = new QLabel(caption, group);
  label->setGeometry(16, top + 3, 80, 16);
  auto* edit = new QLineEdit(group);
  edit->setObjectName(name);
  edit->setAlignment(Qt::AlignRight);
  edit->setGeometry(100, top, 60, 22);
  label->setBuddy(edit);
  auto* unit = new QLabel(QStringLiteral("mm"), group);
  unit->setGeometry(166, top + 3, 24, 16);
  auto* hint = new QLabel(note, group);
  hint->setGeometry(40, top + 26, 240, 16);
  return edit;
}

}  // namespace

TFAdjust::TFAdjust(TSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FAdjust"));
  setWindowTitle(QStringLiteral("プリンタの微調整"));
  MakeFixedDialog(this, QSize(321, 290));

  auto* printerGroup = new QGroupBox(this);
  printerGroup->setGeometry(8, 8, 305, 70);
  auto* printerCaption = new QLabel(QStringLiteral("通常使うプリンタ"), printerGroup);
  printerCaption->setGeometry(16, 14, 270, 16);
  LabelPrinter = new QLabel(QStringLiteral("なし"), printerGroup);
  LabelPrinter->setObjectName(QStringLiteral("LabelPrinter"));
  LabelPrinter->setGeometry(16, 38, 280, 18);
  QFont bold = LabelPrinter->font();
  bold.setBold(true);
  LabelPrinter->setFont(bold);

  auto* offsetGroup = new QGroupBox(this);
  offsetGroup->setGeometry(8, 86, 305, 130);
  EditVertical = AddOffsetRow(offsetGroup, 16, QStringLiteral("縦方向(&V)"),
                              QStringLiteral("（マイナスで上方／プラスで下方）"), QStringLiteral("EditVertical"));
  EditHorizontal = AddOffsetRow(offsetGroup, 84, QStringLiteral("横方向(&H)"),
                                QStringLiteral("（マイナスで左／プラスで右）"), QStringLiteral("EditHorizontal"));
  EditVertical->installEventFilter(this);
  EditHorizontal->installEventFilter(this);

  auto* paperLabel = new QLabel(QStringLiteral("テスト印刷の用紙(&P)"), this);
  paperLabel->setGeometry(24, 225, 130, 16);
  ComboBoxPaper = new QComboBox(this);
  ComboBoxPaper->setObjectName(QStringLiteral("ComboBoxPaper"));
  ComboBoxPaper->setGeometry(158, 222, 64, 22);
  for (const CalibrationPaper& paper : CalibrationPapers()) ComboBoxPaper->addItem(paper.name);
  paperLabel->setBuddy(ComboBoxPaper);

  ButtonOk = new QPushButton(QStringLiteral("OK"), this);
  ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
  ButtonOk->setGeometry(148, 252, 75, 25);
  ButtonOk->setDefault(true);
  ButtonCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
  ButtonCancel->setGeometry(236, 252, 75, 25);
  ButtonTestPrint = new QPushButton(QStringLiteral("テスト印刷"), this);
  ButtonTestPrint->setObjectName(QStringLiteral("ButtonTestPrint"));
  ButtonTestPrint->setGeometry(8, 252, 90, 25);
  ButtonTestPrint->setAutoDefault(false);
  connect(ButtonTestPrint, &QPushButton::clicked, this, &TFAdjust::ButtonTestPrintClick);
  connect(ButtonOk, &QPushButton::clicked, this, &TFAdjust::ButtonOkClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

  RestoreDialogPosition(this, settings_, QStringLiteral("AdjustTop"), QStringLiteral("AdjustLeft"));
}

TFAdjust::~TFAdjust() {
  SaveDialogPosition(this, settings_, QStringLiteral("AdjustTop"), QStringLiteral("AdjustLeft"));
}

int TFAdjust::ShowModal(const QString& testPaper) {
  LabelPrinter->setText(PrintSystem::Current().CurrentPrinterName());
  ComboBoxPaper->setCurrentIndex(std::max(0, ComboBoxPaper->findText(testPaper)));
  EditVertical->setText(FormatAdjustment(adjustment_.vertical));
  EditHorizontal->setText(FormatAdjustment(adjustment_.horizontal));
  EditVertical->setFocus();
  EditVertical->selectAll();
  return exec();
}

bool TFAdjust::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    // After Qt's own focus handling, which would place the cursor instead.
    if (auto* box = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, box, &QLineEdit::selectAll);
  }
  return QDialog::eventFilter(watched, event);
}

std::optional<Decimal4> TFAdjust::CheckedValue(QLineEdit* box) {
  const std::optional<Decimal4> value = ParseAdjustment(box->text());
  if (!value) {
    Prompts::Error(QString::fromUtf8(kNotANumberText));
    box->setFocus();
    box->selectAll();
  }
  return value;
}

void TFAdjust::ButtonOkClick() {
  const std::optional<Decimal4> vertical = CheckedValue(EditVertical);
  if (!vertical) return;
  const std::optional<Decimal4> horizontal = CheckedValue(EditHorizontal);
  if (!horizontal) return;
  EditVertical->setText(FormatAdjustment(*vertical));
  EditHorizontal->setText(FormatAdjustment(*horizontal));
  adjustment_ = {*vertical, *horizontal};
  accept();
}

void TFAdjust::ButtonTestPrintClick() {
  // The offsets as typed, not yet stored: the sheet shows what OK would give.
  const std::optional<Decimal4> vertical = CheckedValue(EditVertical);
  if (!vertical) return;
  const std::optional<Decimal4> horizontal = CheckedValue(EditHorizontal);
  if (!horizontal) return;
  PrintSystem& system = PrintSystem::Current();
  if (!system.HasPrinters()) {
    Prompts::Error(QString::fromUtf8(kNoPrinterText));
    return;
  }
  const CalibrationPaper paper = CalibrationPapers()[std::max(0, ComboBoxPaper->currentIndex())];
  if (!PrintCalibrationSheet(system, paper, {*vertical, *horizontal})) {
    Prompts::PrinterError(QString::fromUtf8(kPrinterErrorText));
  }
}
