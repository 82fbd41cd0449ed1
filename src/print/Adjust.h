#pragma once
// The print position adjustment dialog: names the printer in use and takes
// the vertical and horizontal shift of everything strip card printing puts
// on paper. "テスト印刷" prints the calibration sheet with the offsets typed
// in the boxes, on the paper chosen beside it, so the user can measure what
// shift remains.

#include <QDialog>

#include "print/CardPrint.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TSettings;

class TFAdjust : public QDialog {
  Q_OBJECT
 public:
  explicit TFAdjust(TSettings& settings, QWidget* parent = nullptr);
  ~TFAdjust() override;

  // Shows the dialog modally with the stored offsets; the test print's
  // paper starts at the one named ("A5", "A4" or "B5").
  int ShowModal(const QString& testPaper = QStringLiteral("A4"));

  // The shifts in millimetres. They start at 0 in every run and are not saved.
  const PrintAdjustment& Adjustment() const { return adjustment_; }
  double VerticalMm() const { return adjustment_.vertical.ToDouble(); }
  double HorizontalMm() const { return adjustment_.horizontal.ToDouble(); }

  QLabel* LabelPrinter = nullptr;
  QLineEdit* EditVertical = nullptr;
  QLineEdit* EditHorizontal = nullptr;
  QPushButton* ButtonOk = nullptr;
  QPushButton* ButtonCancel = nullptr;
  QPushButton* ButtonTestPrint = nullptr;
  QComboBox* ComboBoxPaper = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ButtonOkClick();
  void ButtonTestPrintClick();
  // The box's value, or nothing after the message with the box selected.
  std::optional<Decimal4> CheckedValue(QLineEdit* box);

  TSettings& settings_;
  PrintAdjustment adjustment_;
};
