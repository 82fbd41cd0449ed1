#include "view/Search.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "base/DialogFrame.h"
#include "base/Mainsub.h"
#include "base/ShiftJis.h"

namespace {

constexpr int kClientWidth = 424;
constexpr int kClientHeight = 110;
constexpr int kLabelLeft = 8;
constexpr int kEditLeft = 118;
constexpr int kEditWidth = 206;
constexpr int kButtonLeft = 334;
constexpr int kButtonWidth = 82;

template <typename Control>
Control* Placed(QWidget* parent, const char* name, const QString& text, int left, int width, int height) {
  auto* control = new Control(text, parent);
  control->setObjectName(QLatin1String(name));
  control->setGeometry(left, 0, width, height);
  return control;
}

void SetTop(QWidget* control, int top) { control->move(control->x(), top); }

}  // namespace

TFSearch::TFSearch(TSettings&, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FSearch"));
  setWindowTitle(QStringLiteral("検索"));
  setModal(false);
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPixelSize(12);
  setFont(font);
  CreateControls();
  MakeFixedDialog(this, QSize(kClientWidth, kClientHeight), Qt::WindowStaysOnTopHint);
  FormShow();
}

void TFSearch::CreateControls() {
  Label1 = Placed<QLabel>(this, "Label1", QStringLiteral("検索する文字列(&N):"), kLabelLeft, 108, 14);
  Label2 = Placed<QLabel>(this, "Label2", QStringLiteral("置換後の文字列(&P):"), kLabelLeft, 108, 14);
  Edit1 = Placed<QLineEdit>(this, "Edit1", QString(), kEditLeft, kEditWidth, 21);
  Edit2 = Placed<QLineEdit>(this, "Edit2", QString(), kEditLeft, kEditWidth, 21);
  Label1->setBuddy(Edit1);
  Label2->setBuddy(Edit2);
  btnOk = Placed<QPushButton>(this, "btnOk", QStringLiteral("検索(&F)"), kButtonLeft, kButtonWidth, 23);
  btnCancel = Placed<QPushButton>(this, "btnCancel", QStringLiteral("ｷｬﾝｾﾙ"), kButtonLeft, kButtonWidth, 23);
  btnReplaceAll =
      Placed<QPushButton>(this, "btnReplaceAll", QStringLiteral("すべて置換(&A)"), kButtonLeft, kButtonWidth, 23);
  btnOk->setDefault(true);
  btnCancel->setAutoDefault(false);
  btnReplaceAll->setAutoDefault(false);
  CheckBox1 = Placed<QCheckBox>(this, "CheckBox1", QStringLiteral("大文字と小文字を区別する(&C)"), kLabelLeft, 300, 18);
  CheckBox2 = Placed<QCheckBox>(this, "CheckBox2", QStringLiteral("内線リストの先頭から検索(&S)"), kLabelLeft, 300, 18);
  setTabOrder(Edit1, Edit2);
  setTabOrder(Edit2, btnOk);
  setTabOrder(btnOk, btnCancel);
  setTabOrder(btnCancel, btnReplaceAll);
  setTabOrder(btnReplaceAll, CheckBox1);
  setTabOrder(CheckBox1, CheckBox2);
  connect(btnOk, &QPushButton::clicked, this, &TFSearch::btnOkClick);
  connect(btnReplaceAll, &QPushButton::clicked, this, &TFSearch::btnReplaceAllClick);
  connect(btnCancel, &QPushButton::clicked, this, &TFSearch::reject);
}

void TFSearch::FormShow() {
  const bool replace = mode_ == SearchMode::Replace;
  setWindowTitle(replace ? QStringLiteral("置換") : QStringLiteral("検索"));
  btnOk->setText(replace ? QStringLiteral("置換(&R)") : QStringLiteral("検索(&F)"));
  Label2->setVisible(replace);
  Edit2->setVisible(replace);
  btnReplaceAll->setVisible(replace);
  if (replace) {
    SetTop(Label1, 14);
    SetTop(Label2, 40);
    SetTop(Edit1, 10);
    SetTop(Edit2, 36);
    SetTop(btnOk, 10);
    SetTop(btnCancel, 36);
    SetTop(btnReplaceAll, 62);
    SetTop(CheckBox1, 70);
    SetTop(CheckBox2, 88);
  } else {
    SetTop(Label1, 22);
    SetTop(Edit1, 18);
    SetTop(btnOk, 18);
    SetTop(btnCancel, 44);
    SetTop(CheckBox1, 62);
    SetTop(CheckBox2, 80);
  }
  Edit1->setFocus(Qt::OtherFocusReason);
}

void TFSearch::ShowMode(SearchMode mode) {
  mode_ = mode;
  // Arranged at once, also when the other command finds the dialog open.
  FormShow();
  if (!isVisible()) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
  }
  show();
  raise();
  activateWindow();
  Edit1->setFocus(Qt::OtherFocusReason);
}

void TFSearch::StoreRequest() {
  stored_.searchText = sjis::Encode(Edit1->text());
  stored_.replacement = mode_ == SearchMode::Replace ? sjis::Encode(Edit2->text()) : QByteArray();
  stored_.matchCase = CheckBox1->isChecked();
  stored_.fromTop = CheckBox2->isChecked();
}

void TFSearch::RunDisabled(const std::function<void()>& work) {
  setEnabled(false);
  work();
  setEnabled(true);
}

void TFSearch::btnOkClick() {
  StoreRequest();
  if (!host_) return;
  RunDisabled([this] { host_->SearchKeyTexts(mode_, stored_); });
}

void TFSearch::btnReplaceAllClick() {
  if (mode_ != SearchMode::Replace) return;
  StoreRequest();
  if (!host_) return;
  RunDisabled([this] { host_->ReplaceAllKeyTexts(stored_); });
}

void TFSearch::btnCancelClick() {
  stored_ = SearchRequest();
  hide();
}

void TFSearch::reject() {
  btnCancelClick();
  QDialog::reject();
}
