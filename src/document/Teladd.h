#pragma once
// The strip entry dialog: who a strip is for.

#include <QDialog>

class TSettings;

class TFTelAdd : public QDialog {
  Q_OBJECT
 public:
  explicit TFTelAdd(TSettings& settings, QWidget* parent = nullptr);
  ~TFTelAdd() override;

 private:
  TSettings& settings_;
};
