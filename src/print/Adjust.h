#pragma once
// The print position adjustment dialog.

#include <QDialog>

class TSettings;

class TFAdjust : public QDialog {
  Q_OBJECT
 public:
  explicit TFAdjust(TSettings& settings, QWidget* parent = nullptr);
  ~TFAdjust() override;

  // Shifts applied to everything strip card printing puts on paper, in
  // millimetres. They start at 0 in every run and are not saved.
  double VerticalMm() const { return vertical_; }
  double HorizontalMm() const { return horizontal_; }

 private:
  TSettings& settings_;
  double vertical_ = 0;
  double horizontal_ = 0;
};
