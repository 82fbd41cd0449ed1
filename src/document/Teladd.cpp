#include "document/Teladd.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <limits>

#include "base/DialogFrame.h"
#include "base/Mainsub.h"
#include "base/Placement.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/Template.h"

namespace {

constexpr int kClientWidth = 442;
constexpr int kClientHeight = 336;
constexpr int kPanelHeight = 40;

const QString kDuplicateNumberText = QStringLiteral("すでにこの内線番号は存在します。");

QLabel* PlacedLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

template <typename Control>
Control* Placed(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* control = new Control(parent);
  control->setObjectName(QLatin1String(name));
  control->setGeometry(left, top, width, height);
  return control;
}

QByteArray Encoded(const QString& text) { return sjis::Encode(text); }

// Header fields have no length limit of their own: the edit boxes must not
// cut a long one.
void TakeAnyLength(QLineEdit* edit) { edit->setMaxLength(std::numeric_limits<int>::max()); }

}  // namespace

TFTelAdd::TFTelAdd(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), clock_([] { return QDateTime::currentDateTime(); }) {
  setObjectName(QStringLiteral("FTelAdd"));
  setWindowTitle(QStringLiteral("示名条の作成"));
  setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
  CreateControls();
  MakeFixedDialog(this, QSize(kClientWidth, kClientHeight));
  RestoreDialogPosition(this, settings_, QStringLiteral("TelAddTop"), QStringLiteral("TelAddLeft"));
}

TFTelAdd::~TFTelAdd() {
  SaveDialogPosition(this, settings_, QStringLiteral("TelAddTop"), QStringLiteral("TelAddLeft"));
}

void TFTelAdd::CreateControls() {
  GroupBox1 = Placed<QGroupBox>(this, "GroupBox1", 10, 10, 421, 104);
  GroupBox1->setTitle(QStringLiteral("示名条情報"));
  Label2 = PlacedLabel(GroupBox1, "Label2", QStringLiteral("主装置のシリーズ(&S)"), 16, 34);
  pnlSeries = Placed<QLabel>(GroupBox1, "pnlSeries", 130, 30, 270, 20);
  pnlSeries->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlSeries->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  pnlSeries->setIndent(2);
  Label3 = PlacedLabel(GroupBox1, "Label3", QStringLiteral("示名条のタイプ(&P)"), 16, 64);
  cmbType = Placed<QComboBox>(GroupBox1, "cmbType", 130, 60, 270, 20);

  GroupBox2 = Placed<QGroupBox>(this, "GroupBox2", 10, 130, 421, 164);
  GroupBox2->setTitle(QStringLiteral("使用者情報"));
  Label1 = PlacedLabel(GroupBox2, "Label1", QStringLiteral("内線番号(&E)"), 16, 34);
  Edit1 = Placed<QLineEdit>(GroupBox2, "Edit1", 100, 30, 300, 20);
  ComboBoxExternal = Placed<QComboBox>(GroupBox2, "ComboBoxExternal", 100, 30, 300, 20);
  ComboBoxExternal->setEditable(true);
  ComboBoxExternal->setInsertPolicy(QComboBox::NoInsert);
  // Typed numbers stay as typed: no completion from the other strips' numbers.
  ComboBoxExternal->setCompleter(nullptr);
  // Nor does finishing the text (Enter, Tab, OK) pick the strip whose number
  // was typed: only a choice from the list picks a strip, and a typed number
  // is checked as typed.
  QObject::disconnect(ComboBoxExternal->lineEdit(), &QLineEdit::editingFinished, ComboBoxExternal, nullptr);
  QObject::disconnect(ComboBoxExternal->lineEdit(), &QLineEdit::returnPressed, ComboBoxExternal, nullptr);
  Label5 = PlacedLabel(GroupBox2, "Label5", QStringLiteral("部署(&B)"), 16, 64);
  Edit2 = Placed<QLineEdit>(GroupBox2, "Edit2", 100, 60, 300, 20);
  Label6 = PlacedLabel(GroupBox2, "Label6", QStringLiteral("使用者名(&U)"), 16, 94);
  Edit3 = Placed<QLineEdit>(GroupBox2, "Edit3", 100, 90, 300, 20);
  Label4 = PlacedLabel(GroupBox2, "Label4", QStringLiteral("複製元指定(&T)"), 16, 124);
  ComboBox3 = Placed<QComboBox>(GroupBox2, "ComboBox3", 100, 120, 300, 20);
  for (QLineEdit* edit : {Edit1, Edit2, Edit3, ComboBoxExternal->lineEdit()}) TakeAnyLength(edit);

  Panel1 = Placed<QWidget>(this, "Panel1", 0, kClientHeight - kPanelHeight, kClientWidth, kPanelHeight);
  ButtonOk = Placed<QPushButton>(Panel1, "ButtonOk", 272, 10, 75, 23);
  ButtonOk->setText(QStringLiteral("OK"));
  ButtonOk->setDefault(true);
  ButtonCancel = Placed<QPushButton>(Panel1, "ButtonCancel", 352, 10, 75, 23);
  ButtonCancel->setText(QStringLiteral("ｷｬﾝｾﾙ"));

  // The series label has nothing to focus; the panel as its buddy shows its
  // mnemonic underlined instead of a literal "&".
  Label2->setBuddy(pnlSeries);
  Label3->setBuddy(cmbType);
  Label1->setBuddy(Edit1);
  Label5->setBuddy(Edit2);
  Label6->setBuddy(Edit3);
  Label4->setBuddy(ComboBox3);

  setTabOrder(cmbType, Edit1);
  setTabOrder(Edit1, ComboBoxExternal);
  setTabOrder(ComboBoxExternal, Edit2);
  setTabOrder(Edit2, Edit3);
  setTabOrder(Edit3, ComboBox3);
  setTabOrder(ComboBox3, ButtonOk);
  setTabOrder(ButtonOk, ButtonCancel);

  // Only what the user does runs the change handlers; the dialog's own
  // selections call them where it needs them.
  connect(cmbType, &QComboBox::activated, this, [this] { cmbTypeChange(); });
  connect(ComboBoxExternal, &QComboBox::activated, this, [this] { ComboBoxExternalChange(); });
  connect(ComboBoxExternal, &QComboBox::editTextChanged, this, [this] { UpdateOkButton(); });
  for (QLineEdit* edit : {Edit1, Edit2, Edit3}) {
    connect(edit, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
  }
  connect(ButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFTelAdd::PrepareCreate(const QList<StripRow>& listRows, const QByteArray& seriesName) {
  rows = listRows;
  currentSeries = seriesName;
  resultFields = StripEntry();
  editIndex = 0;
  editMode = false;
}

void TFTelAdd::PrepareEdit(const QList<StripRow>& listRows, int index) {
  rows = listRows;
  resultFields = StripEntry();
  if (ValidRow(index)) {
    const StripRow& row = rows[index];
    resultFields.seriesName = row.series;
    resultFields.stripType = row.stripType;
    resultFields.extension = row.extension;
    resultFields.department = row.department;
    resultFields.userName = row.userName;
  }
  editIndex = index;
  editMode = true;
}

void TFTelAdd::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TFTelAdd::FormShow() {
  if (editMode) {
    ShowSeries(ValidRow(editIndex) ? rows[editIndex].series : QByteArray());
  } else {
    ShowSeries(currentSeries);
  }
  FillStripTypes();
  // The extension label leads to whichever extension control is in use.
  Label1->setBuddy(ExtensionControl());
  loaded_ = StripRow();
  Edit1->clear();
  Edit2->clear();
  Edit3->clear();
  if (editMode) {
    ShowForEdit();
  } else {
    ShowForCreation();
  }
}

void TFTelAdd::ShowForCreation() {
  setWindowTitle(QStringLiteral("示名条の作成"));
  cmbType->setEnabled(true);
  ComboBox3->setEnabled(true);
  ComboBoxExternal->hide();
  Edit1->show();
  cmbType->setCurrentIndex(cmbType->count() > 0 ? 0 : -1);
  cmbTypeChange();
  Edit1->setFocus();
}

void TFTelAdd::ShowForEdit() {
  setWindowTitle(QStringLiteral("示名条の編集"));
  cmbType->setEnabled(false);
  ComboBox3->setEnabled(false);
  Edit1->hide();
  ComboBoxExternal->show();
  ComboBoxExternal->clear();
  int picked = -1;
  for (qsizetype i = 0; i < rows.size(); ++i) {
    ComboBoxExternal->addItem(sjis::Decode(rows[i].extension));
    if (picked < 0 && ValidRow(editIndex) && rows[i].extension == rows[editIndex].extension) {
      picked = static_cast<int>(i);
    }
  }
  ComboBoxExternal->setCurrentIndex(picked);
  ComboBoxExternalChange();
  cmbTypeChange();
  ComboBoxExternal->setFocus();
}

void TFTelAdd::cmbTypeChange() {
  ComboBox3->clear();
  const QString noCopy = QString::fromUtf8(kNoCopySourceText);
  ComboBox3->addItem(noCopy, Encoded(noCopy));
  const QByteArray type = ChosenStripType();
  for (const StripRow& row : rows) {
    if (row.stripType != type) continue;
    const QByteArray text = CopySourceText(row);
    ComboBox3->addItem(sjis::Decode(text), text);
  }
  ComboBox3->setCurrentIndex(0);
  UpdateOkButton();
  if (ComboBoxExternal->isVisibleTo(this)) ComboBoxExternal->setFocus();
  if (Edit1->isVisibleTo(this)) Edit1->setFocus();
}

void TFTelAdd::ComboBoxExternalChange() {
  UpdateOkButton();
  const int index = ComboBoxExternal->currentIndex();
  if (!ValidRow(index)) return;
  editIndex = index;
  const StripRow& row = rows[index];
  loaded_ = row;
  // The picked strip keeps its own series and strip type, whatever series
  // the dialog was opened on.
  ShowSeries(row.series);
  FillStripTypes();
  SelectStripType(row.stripType);
  Edit1->setText(sjis::Decode(row.extension));
  Edit2->setText(sjis::Decode(row.department));
  Edit3->setText(sjis::Decode(row.userName));
  UpdateOkButton();
}

void TFTelAdd::Edit1Change() { UpdateOkButton(); }

void TFTelAdd::UpdateOkButton() {
  bool enabled = !TrimEntryText(cmbType->currentText()).isEmpty();
  if (editMode) {
    enabled = enabled && !TrimEntryText(ComboBoxExternal->currentText()).isEmpty();
  } else {
    enabled = enabled && !TrimEntryText(Edit1->text()).isEmpty();
  }
  ButtonOk->setEnabled(enabled);
}

void TFTelAdd::ButtonOkClick() {
  // What the user left untouched keeps its bytes; read before trimming.
  const QByteArray number = NumberAfter();
  const QByteArray department = EntryFieldBytes(Edit2->text(), loaded_.department);
  const QByteArray userName = EntryFieldBytes(Edit3->text(), loaded_.userName);
  for (QLineEdit* edit : {Edit1, Edit2, Edit3}) edit->setText(TrimEntryText(edit->text()));
  ComboBoxExternal->setEditText(TrimEntryText(ComboBoxExternal->currentText()));
  UpdateOkButton();
  if (!ButtonOk->isEnabled()) return;

  if (number != NumberBefore() && NumberExists(number)) {
    Prompts::Notice(kDuplicateNumberText);
    if (editMode) {
      ComboBoxExternal->lineEdit()->selectAll();
    } else {
      Edit1->selectAll();
    }
    ExtensionControl()->setFocus();
    return;
  }
  resultFields.seriesName = seriesShown_;
  resultFields.stripType = ChosenStripType();
  resultFields.extension = number;
  resultFields.department = department;
  resultFields.userName = userName;
  resultFields.copySource = ComboBox3->currentData().toByteArray();
  resultFields.registered = RegistrationDate(clock_());
  accept();
}

void TFTelAdd::ShowSeries(const QByteArray& seriesName) {
  seriesShown_ = seriesName;
  pnlSeries->setText(sjis::Decode(seriesName));
}

void TFTelAdd::FillStripTypes() {
  cmbType->clear();
  for (const QString& type : DiscoverStripTypes(settings_.Locations().TemplateFolders(), seriesShown_)) {
    cmbType->addItem(type, Encoded(type));
  }
}

void TFTelAdd::SelectStripType(const QByteArray& stripType) {
  int index = cmbType->findData(stripType);
  // A strip whose template is gone still keeps its own type: an edit only
  // rewrites the header, never the keys that came from the template.
  if (index < 0 && !stripType.isEmpty()) {
    cmbType->addItem(sjis::Decode(stripType), stripType);
    index = cmbType->count() - 1;
  }
  if (index < 0 && cmbType->count() > 0) index = 0;
  cmbType->setCurrentIndex(index);
}

QByteArray TFTelAdd::ChosenStripType() const {
  return cmbType->currentIndex() >= 0 ? cmbType->currentData().toByteArray() : QByteArray();
}

QWidget* TFTelAdd::ExtensionControl() const {
  return editMode ? static_cast<QWidget*>(ComboBoxExternal) : static_cast<QWidget*>(Edit1);
}

QByteArray TFTelAdd::NumberBefore() const {
  return editMode ? loaded_.extension : resultFields.extension;
}

QByteArray TFTelAdd::NumberAfter() const {
  return editMode ? EntryFieldBytes(ComboBoxExternal->currentText(), loaded_.extension)
                  : Encoded(TrimEntryText(Edit1->text()));
}

bool TFTelAdd::NumberExists(const QByteArray& number) const {
  for (const StripRow& row : rows) {
    if (row.extension == number) return true;
  }
  return false;
}
