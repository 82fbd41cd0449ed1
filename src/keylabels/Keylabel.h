#pragma once
// The key-label settings dialog: edits the palette entries of the current series.

#include <QDialog>

class TSettings;

class TFKeyLabel : public QDialog {
  Q_OBJECT
 public:
  explicit TFKeyLabel(TSettings& settings, QWidget* parent = nullptr);
  ~TFKeyLabel() override;

 private:
  TSettings& settings_;
};
