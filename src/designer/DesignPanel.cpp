#include "designer/DesignPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/ColorPair.h"
#include "base/Prompts.h"

namespace {

enum class Kind { kText, kCheck, kAlign, kColor };

Kind KindOf(Field field) {
  switch (field) {
    case Field::kShowNumbers: case Field::kLabelBold: case Field::kLabelItalic: return Kind::kCheck;
    case Field::kLabelAlign: return Kind::kAlign;
    case Field::kLabelColor: return Kind::kColor;
    default: return Kind::kText;
  }
}

struct Row {
  Field field;
  const char* label;
};

struct Section {
  const char* title;
  bool group;
  QList<Row> rows;
};

const QList<Section>& Sections() {
  static const QList<Section> sections = {
      {"グループ", true,
       {{Field::kShowNumbers, "番号を表示"}, {Field::kGroupX, "X (mm)"}, {Field::kGroupY, "Y (mm)"},
        {Field::kGroupWidth, "幅 (mm)"}, {Field::kGroupHeight, "高さ (mm)"}}},
      {"キーの外形", false,
       {{Field::kOutlineX, "X (mm)"}, {Field::kOutlineY, "Y (mm)"}, {Field::kOutlineWidth, "幅 (mm)"},
        {Field::kOutlineHeight, "高さ (mm)"}}},
      {"番号ラベル", false,
       {{Field::kLabelX, "X (mm)"}, {Field::kLabelY, "Y (mm)"}, {Field::kLabelWidth, "幅 (mm)"},
        {Field::kLabelHeight, "高さ (mm)"}, {Field::kLabelFont, "フォント"}, {Field::kLabelSize, "サイズ"},
        {Field::kLabelColor, "色"}, {Field::kLabelBold, "太字"}, {Field::kLabelItalic, "斜体"},
        {Field::kLabelAlign, "配置"}}},
      {"文字の領域", false,
       {{Field::kTextX, "X (mm)"}, {Field::kTextY, "Y (mm)"}, {Field::kTextWidth, "幅 (mm)"},
        {Field::kTextHeight, "高さ (mm)"}}},
      {"キー番号", false,
       {{Field::kKeyNumber, "番号"}, {Field::kFixedText, "固定キーの文字"}, {Field::kFixedSize, "文字サイズ"}}},
  };
  return sections;
}

// True when an item of the selection has the field (its value may differ).
bool AnyHas(const StripTemplate& model, const Selection& items, Field field) {
  return std::any_of(items.begin(), items.end(), [&](ItemRef item) { return FieldValue(model, item, field).isValid(); });
}

QString FourDecimals(const QString& text) {
  const std::optional<Decimal4> value = Decimal4::FromText(text.toLatin1());
  return value ? QString::number(value->ToDouble(), 'f', 4) : text;
}

}  // namespace

DesignPanel::DesignPanel(TemplateDesign& design, QWidget* parent) : QWidget(parent), design_(design) {
  Build();
  connect(&design_, &TemplateDesign::SelectionChanged, this, &DesignPanel::Refresh);
  connect(&design_, &TemplateDesign::ModelChanged, this, &DesignPanel::Refresh);
  Refresh();
}

void DesignPanel::Build() {
  auto* layout = new QVBoxLayout(this);
  empty_ = new QLabel(QStringLiteral("グループかキーを選んでください。"), this);
  empty_->setWordWrap(true);
  layout->addWidget(empty_);
  for (const Section& section : Sections()) {
    auto* box = new QGroupBox(QString::fromUtf8(section.title), this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(6, 4, 6, 4);
    for (const Row& row : section.rows) AddRow(form, row.field, QString::fromUtf8(row.label));
    (section.group ? groupSection_ : keySection_) << box;
    layout->addWidget(box);
  }
  layout->addStretch();
}

void DesignPanel::AddRow(QFormLayout* form, Field field, const QString& label) {
  QWidget* editor = nullptr;
  switch (KindOf(field)) {
    case Kind::kCheck: {
      auto* check = new QCheckBox(this);
      check->setTristate(true);
      connect(check, &QCheckBox::clicked, this, [this, field, check] {
        if (!refreshing_) Commit(field, check->checkState() != Qt::Unchecked);
      });
      editor = check;
      break;
    }
    case Kind::kAlign: {
      auto* combo = new QComboBox(this);
      combo->addItems({QStringLiteral("左"), QStringLiteral("中央"), QStringLiteral("右")});
      connect(combo, &QComboBox::activated, this, [this, field](int index) {
        if (!refreshing_) Commit(field, index + 1);
      });
      editor = combo;
      break;
    }
    case Kind::kColor: {
      auto* button = new QPushButton(this);
      connect(button, &QPushButton::clicked, this, [this, field] {
        const QVariant current = CommonFieldValue(design_.Model(), design_.Selected(), field);
        const std::optional<QColor> color = Prompts::Current().Color(QColorFromWin(current.toInt()));
        if (color) Commit(field, WinFromQColor(*color));
      });
      editor = button;
      break;
    }
    case Kind::kText: {
      auto* edit = new QLineEdit(this);
      connect(edit, &QLineEdit::editingFinished, this, [this, field, edit] {
        if (refreshing_ || !edit->isModified()) return;
        edit->setModified(false);
        if (edit->text().isEmpty() && !CommonFieldValue(design_.Model(), design_.Selected(), field).isValid()) return;
        Commit(field, edit->text());
      });
      editor = edit;
      break;
    }
  }
  editor->setObjectName(QStringLiteral("Field%1").arg(static_cast<int>(field)));
  editors_.insert(static_cast<int>(field), editor);
  labels_.insert(static_cast<int>(field), label);
  form->addRow(label, editor);
}

bool DesignPanel::Commit(Field field, const QVariant& value) {
  const QString problem =
      KindOf(field) == Kind::kText
          ? FieldProblem(field, value.toString(), design_.Model(), design_.Selected(), design_.Sheet())
          : QString();
  if (!problem.isEmpty()) {
    Prompts::Error(QStringLiteral("「%1」: %2").arg(labels_.value(static_cast<int>(field)).section(QLatin1Char(' '), 0, 0), problem));
    Refresh();
    return false;
  }
  const Selection selected = design_.Selected();
  const QString name = QStringLiteral("プロパティの変更: %1").arg(labels_.value(static_cast<int>(field)));
  design_.Edit(name, [&](StripTemplate& t) { SetField(t, selected, field, value); });
  Refresh();
  return true;
}

void DesignPanel::Refresh() {
  refreshing_ = true;
  const Selection& selected = design_.Selected();
  const StripTemplate& model = design_.Model();
  bool anyGroup = false, anyKey = false;
  for (const ItemRef& item : selected) (item.IsGroup() ? anyGroup : anyKey) = true;
  empty_->setVisible(!anyGroup && !anyKey);
  for (QWidget* box : groupSection_) box->setVisible(anyGroup);
  for (QWidget* box : keySection_) box->setVisible(anyKey);
  for (auto it = editors_.begin(); it != editors_.end(); ++it) {
    const Field field = static_cast<Field>(it.key());
    const QVariant value = CommonFieldValue(model, selected, field);
    if (auto* edit = qobject_cast<QLineEdit*>(it.value())) {
      const QString text = value.isValid() ? (IsMmField(field) ? FourDecimals(value.toString()) : value.toString()) : QString();
      edit->setText(text);
      edit->setModified(false);
      edit->setPlaceholderText(value.isValid() || !AnyHas(model, selected, field) ? QString() : QStringLiteral("（複数）"));
    } else if (auto* check = qobject_cast<QCheckBox*>(it.value())) {
      check->setCheckState(!value.isValid() ? Qt::PartiallyChecked : value.toBool() ? Qt::Checked : Qt::Unchecked);
    } else if (auto* combo = qobject_cast<QComboBox*>(it.value())) {
      combo->setCurrentIndex(value.isValid() ? std::clamp(value.toInt(), 1, 3) - 1 : -1);
    } else if (auto* button = qobject_cast<QPushButton*>(it.value())) {
      const QColor color = value.isValid() ? QColorFromWin(value.toInt()) : QColor(Qt::transparent);
      button->setText(value.isValid() ? color.name() : QStringLiteral("（複数）"));
    }
  }
  refreshing_ = false;
}
