#pragma once
// The property panel of the designer: every field of the selection in mm
// (four decimals) or as its kind of value. A field that the selected items
// share shows their value (blank when they differ), and a value typed into
// it is set on every one of them as one step. A value the field cannot take
// is refused with the reason, and the field shows the template again.

#include <QHash>
#include <QWidget>

#include "designer/TemplateDesign.h"

class QLabel;
class QFormLayout;

class DesignPanel : public QWidget {
  Q_OBJECT
 public:
  explicit DesignPanel(TemplateDesign& design, QWidget* parent = nullptr);

  // The editor of a field (for the window's tests): a QLineEdit, QCheckBox,
  // QComboBox or QPushButton.
  QWidget* Editor(Field field) const { return editors_.value(static_cast<int>(field)); }
  // Takes a typed value: checked, then set on the selection as one step.
  // False when refused (the reason was shown).
  bool Commit(Field field, const QVariant& value);

 private:
  void Build();
  void Refresh();
  void AddRow(QFormLayout* form, Field field, const QString& label);

  TemplateDesign& design_;
  QHash<int, QWidget*> editors_;
  QHash<int, QString> labels_;
  QList<QWidget*> groupSection_, keySection_;
  QLabel* empty_ = nullptr;
  bool refreshing_ = false;
};
