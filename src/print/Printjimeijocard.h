#pragma once
// The preview window of strip card printing.

#include <QDialog>

class TSettings;

class TFPrintJimeijoCard : public QDialog {
  Q_OBJECT
 public:
  explicit TFPrintJimeijoCard(TSettings& settings, QWidget* parent = nullptr);
  ~TFPrintJimeijoCard() override;

 private:
  TSettings& settings_;
};
