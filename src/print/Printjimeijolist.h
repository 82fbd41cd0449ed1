#pragma once
// The preview window of the printed strip list.

#include <QDialog>

class TSettings;

class TFPrintJimeijoList : public QDialog {
  Q_OBJECT
 public:
  explicit TFPrintJimeijoList(TSettings& settings, QWidget* parent = nullptr);
  ~TFPrintJimeijoList() override;

 private:
  TSettings& settings_;
};
