#include "keylabels/Keylabel.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "base/ColorPair.h"
#include "base/DialogFrame.h"
#include "base/FontItemDelegate.h"
#include "base/Mainsub.h"
#include "base/Placement.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/KeyLabelFile.h"
#include "keylabels/PaletteButtons.h"

namespace {

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

QLabel* NewLabel(QWidget* parent, const QString& caption, QPoint at) {
  auto* label = new QLabel(caption, parent);
  label->move(at);
  label->adjustSize();
  return label;
}

// The message when OK could not write the series' file.
QString WriteFailedText(const QString& path) {
  return QStringLiteral("キーラベルファイルを保存できませんでした。\n%1").arg(QDir::toNativeSeparators(path));
}

}  // namespace

TFKeyLabel::TFKeyLabel(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), writer_(WriteKeyLabelFile) {
  setObjectName(QStringLiteral("FKeyLabel"));
  setWindowTitle(QStringLiteral("キーラベル設定"));
  QFont dialogFont(QStringLiteral("ＭＳ Ｐゴシック"));
  dialogFont.setPixelSize(13);
  setFont(dialogFont);
  MakeFixedDialog(this, QSize(518, 506));
  CreateControls();
  RestoreDialogPosition(this, settings_, QStringLiteral("KeyLabelTop"), QStringLiteral("KeyLabelLeft"));
}

TFKeyLabel::~TFKeyLabel() {
  SaveDialogPosition(this, settings_, QStringLiteral("KeyLabelTop"), QStringLiteral("KeyLabelLeft"));
}

void TFKeyLabel::CreateControls() {
  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setGeometry(4, 4, 180, 498);
  for (int i = 1; i <= kPaletteTabs; ++i) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("TabSheet%1").arg(i));
    PageControl->addTab(sheet, QStringLiteral("ｷｰﾗﾍﾞﾙ%1").arg(i));
  }
  FitPaletteTabs(PageControl, 180);
  buttons_ = new PaletteButtons(PageControl, PaletteButtons::Latch::OneStaysPressed, this);
  connect(buttons_, &PaletteButtons::Clicked, this, &TFKeyLabel::KeyLabelButtonClick);
  connect(PageControl, &QTabWidget::currentChanged, this, &TFKeyLabel::PageControlChange);

  NewLabel(this, QStringLiteral("フォント名"), {196, 12});
  ComboBoxFont = new QComboBox(this);
  ComboBoxFont->setObjectName(QStringLiteral("ComboBoxFont"));
  ComboBoxFont->setGeometry(196, 30, 200, 22);
  ComboBoxFont->setItemDelegate(new FontItemDelegate(&session_.markedFonts, nullptr, ComboBoxFont));
  connect(ComboBoxFont, &QComboBox::activated, this, &TFKeyLabel::ComboBoxFontChange);

  NewLabel(this, QStringLiteral("サイズ"), {408, 12});
  ComboBoxFontSize = new QComboBox(this);
  ComboBoxFontSize->setObjectName(QStringLiteral("ComboBoxFontSize"));
  ComboBoxFontSize->setGeometry(408, 30, 60, 22);
  connect(ComboBoxFontSize, &QComboBox::activated, this, &TFKeyLabel::ComboBoxFontSizeChange);

  Color_Button = NewButton(this, "Color_Button", QStringLiteral("文字色"), {196, 64, 80, 25});
  BColor_Button = NewButton(this, "BColor_Button", QStringLiteral("背景色"), {284, 64, 80, 25});
  connect(Color_Button, &QPushButton::clicked, this, &TFKeyLabel::Color_ButtonClick);
  connect(BColor_Button, &QPushButton::clicked, this, &TFKeyLabel::BColor_ButtonClick);

  Memo = new QPlainTextEdit(this);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setGeometry(196, 98, 297, 87);
  Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  Kakutei_Button = NewButton(this, "Kakutei_Button", QStringLiteral("確定"), {196, 194, 90, 25});
  InitRet_Button = NewButton(this, "InitRet_Button", QStringLiteral("初期値に戻す"), {294, 194, 110, 25});
  connect(Kakutei_Button, &QPushButton::clicked, this, &TFKeyLabel::Kakutei_ButtonClick);
  connect(InitRet_Button, &QPushButton::clicked, this, &TFKeyLabel::InitRet_ButtonClick);

  OK_Button = NewButton(this, "OK_Button", QStringLiteral("OK"), {330, 472, 80, 25});
  OK_Button->setDefault(true);
  Cancel_Button = NewButton(this, "Cancel_Button", QStringLiteral("ｷｬﾝｾﾙ"), {418, 472, 80, 25});
  connect(OK_Button, &QPushButton::clicked, this, &TFKeyLabel::OK_ButtonClick);
  connect(Cancel_Button, &QPushButton::clicked, this, &TFKeyLabel::Cancel_ButtonClick);
}

int TFKeyLabel::ShowModal(const KeyLabelSession& session) {
  Open(session);
  return exec();
}

void TFKeyLabel::Open(const KeyLabelSession& session) {
  session_ = session;
  ComboBoxFont->clear();
  for (const QString& marked : session_.markedFonts) ComboBoxFont->addItem(marked.chopped(1));
  ComboBoxFontSize->clear();
  ComboBoxFontSize->addItems(FontSizeList());
  buttons_->Make(session_.series);
  // The dialog reopens on the tab last shown.
  currentEntry_ = PageControl->currentIndex() * buttons_->PerTab();
  buttons_->Press(currentEntry_);
  Memo->clear();
  Myfunc_Set_Button();
  ShowCurrentEntry();
}

void TFKeyLabel::Myfunc_Set_Button() { buttons_->SetCaptions(*session_.paletteList, session_.labelLines); }

void TFKeyLabel::ShowCurrentEntry() {
  working_ = Myfunc_Get_Label(*session_.paletteList, currentEntry_, session_.labelLines);
  Myfunc_Set_Memo();
}

void TFKeyLabel::Myfunc_Set_Memo() {
  QStringList text;
  for (const QByteArray& line : *session_.labelLines) text << sjis::Decode(line);
  Memo->setPlainText(text.join(QChar('\n')));
  SetMemoFont();
  SetMemoColors();
  // A font or size that is not listed shows the first item; the working
  // value stays as the entry has it.
  ComboBoxFont->setCurrentIndex(0);
  const int font = ComboBoxFont->findText(sjis::Decode(working_.fontName), Qt::MatchExactly);
  if (font >= 0) ComboBoxFont->setCurrentIndex(font);
  ComboBoxFontSize->setCurrentIndex(0);
  const int size = ComboBoxFontSize->findText(QString::number(working_.fontSize), Qt::MatchExactly);
  if (size >= 0) ComboBoxFontSize->setCurrentIndex(size);
}

void TFKeyLabel::SetMemoFont() {
  QFont font(sjis::Decode(working_.fontName));
  if (working_.fontSize > 0) font.setPointSize(working_.fontSize);
  Memo->setFont(font);
}

void TFKeyLabel::SetMemoColors() {
  QPalette colors = Memo->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    colors.setColor(group, QPalette::Text, QColorFromWin(working_.fontColor));
    colors.setColor(group, QPalette::Base, QColorFromWin(working_.backColor));
  }
  Memo->setPalette(colors);
}

void TFKeyLabel::KeyLabelButtonClick(int entry) {
  // What was not committed with "確定" is dropped.
  currentEntry_ = entry;
  Memo->clear();
  ShowCurrentEntry();
}

void TFKeyLabel::PageControlChange(int tab) {
  if (buttons_->Count() == 0 || tab < 0) return;  // not shown
  currentEntry_ = tab * buttons_->PerTab();
  buttons_->Press(currentEntry_);
  KeyLabelButtonClick(currentEntry_);
}

void TFKeyLabel::ComboBoxFontChange(int index) {
  if (index < 0) return;
  working_.fontName = sjis::Encode(ComboBoxFont->itemText(index));
  SetMemoFont();
}

void TFKeyLabel::ComboBoxFontSizeChange(int index) {
  if (index < 0) return;
  working_.fontSize = ComboBoxFontSize->itemText(index).toInt();
  SetMemoFont();
}

void TFKeyLabel::Color_ButtonClick() {
  if (auto chosen = Prompts::Current().Color(QColorFromWin(working_.fontColor))) {
    working_.fontColor = WinFromQColor(*chosen);
    SetMemoColors();
  }
}

void TFKeyLabel::BColor_ButtonClick() {
  if (auto chosen = Prompts::Current().Color(QColorFromWin(working_.backColor))) {
    working_.backColor = WinFromQColor(*chosen);
    SetMemoColors();
  }
}

void TFKeyLabel::Kakutei_ButtonClick() {
  Kakutei_Button->setEnabled(false);
  *session_.labelLines = MemoLines(Memo->toPlainText());
  CommitKeyLabel(session_.paletteList, currentEntry_, working_, *session_.labelLines);
  buttons_->SetCaption(currentEntry_, *session_.labelLines);
  Kakutei_Button->setEnabled(true);
}

void TFKeyLabel::InitRet_ButtonClick() {
  InitRet_Button->setEnabled(false);
  Myfunc_Set_Default(session_.series, session_.paletteList);
  Memo->clear();
  Myfunc_Set_Button();
  ShowCurrentEntry();
  InitRet_Button->setEnabled(true);
}

void TFKeyLabel::OK_ButtonClick() {
  // A failed write is told; the edited list stays in memory either way.
  if (!writer_(session_.series, session_.folder, *session_.paletteList)) {
    Prompts::Error(WriteFailedText(KeyLabelFilePath(session_.series, session_.folder)));
  }
  accept();
}

void TFKeyLabel::Cancel_ButtonClick() {
  Myfunc_Load_Label(session_.series, session_.folder, session_.paletteList);
  reject();
}

void TFKeyLabel::done(int result) {
  buttons_->Free();
  QDialog::done(result);
}

void TFKeyLabel::keyPressEvent(QKeyEvent* event) {
  // Esc is the Cancel button; the close box closes without either.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Cancel_ButtonClick();
    return;
  }
  QDialog::keyPressEvent(event);
}
