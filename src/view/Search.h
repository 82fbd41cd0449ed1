#pragma once
// The find and replace dialog.

#include <QDialog>

class TSettings;

class TFSearch : public QDialog {
  Q_OBJECT
 public:
  explicit TFSearch(TSettings& settings, QWidget* parent = nullptr);
};
