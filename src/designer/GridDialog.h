#pragma once
// "キーの追加": a grid of keys in a few numbers (rows x columns, outline
// size, pitch, text-area inset, number labels, first number, numbering
// across or down, fixed keys below), handed to the grid description of the
// template model.

#include <QDialog>
#include <optional>

#include "document/TemplateGrid.h"

class QSpinBox;
class QDoubleSpinBox;
class QComboBox;
class QCheckBox;
class QLineEdit;

class GridDialog : public QDialog {
  Q_OBJECT
 public:
  explicit GridDialog(QWidget* parent = nullptr);

  // The description the fields give, or the reason it cannot be one.
  std::optional<GridDescription> Description(QString* problem) const;

 private:
  void accept() override;

  QSpinBox* rows_;
  QSpinBox* columns_;
  QDoubleSpinBox* keyWidth_;
  QDoubleSpinBox* keyHeight_;
  QDoubleSpinBox* pitchX_;
  QDoubleSpinBox* pitchY_;
  QDoubleSpinBox* inset_;
  QComboBox* labels_;
  QSpinBox* firstNumber_;
  QCheckBox* across_;
  QLineEdit* fixedTexts_;
};
