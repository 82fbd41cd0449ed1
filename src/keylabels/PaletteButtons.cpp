#include "keylabels/PaletteButtons.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QTabWidget>
#include <utility>

#include "document/Series.h"

void SetButtonCaption(QAbstractButton* button, const KeyLabelCaption& caption) {
  QFont font = button->font();
  font.setPointSize(caption.pointSize);
  button->setFont(font);
  button->setText(caption.text);
  button->setAccessibleName(caption.text);
}

PaletteButtons::PaletteButtons(QTabWidget* pages, Latch latch, QObject* parent)
    : QObject(parent), pages_(pages), latch_(latch) {
  Q_ASSERT(pages_->count() == kPaletteTabs);
  // Two lines of 8 points fill the 23 pixels: no room for the style's
  // padding. Given once to each sheet, the rule is parsed once, not for
  // every button of every series switch.
  for (int tab = 0; tab < kPaletteTabs; ++tab) {
    pages_->widget(tab)->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
  }
}

PaletteButtons::~PaletteButtons() { Free(); }

void PaletteButtons::Make(int series) {
  Free();
  perTab_ = PaletteEntriesPerTab(series);
  if (latch_ == Latch::OneStaysPressed) {
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
  }
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPointSize(9);
  const int count = PaletteEntryCount(series);
  buttons_.reserve(count);
  for (int i = 0; i < count; ++i) {
    auto* button = new QPushButton(pages_->widget(i / perTab_));
    button->setObjectName(QStringLiteral("KeyLabelButton%1").arg(i));
    button->setFont(font);
    button->setGeometry(0, palette::kButtonPitch * (i % perTab_), palette::kButtonWidth,
                        palette::kButtonHeight);
    button->setFocusPolicy(Qt::NoFocus);
    if (group_) {
      button->setCheckable(true);
      group_->addButton(button);
    }
    connect(button, &QPushButton::clicked, this, [this, i] { emit Clicked(i); });
    button->show();
    buttons_.append(button);
  }
}

void PaletteButtons::Free() {
  for (QPushButton* button : std::as_const(buttons_)) delete button;
  buttons_.clear();
  delete group_;
  group_ = nullptr;
  perTab_ = 0;
}

void PaletteButtons::SetCaptions(const Lines& list, Lines* labelLines) {
  for (int i = 0; i < Count(); ++i) {
    Myfunc_Get_Label(list, i, labelLines);
    SetCaption(i, *labelLines);
  }
}

void PaletteButtons::SetCaption(int entry, const Lines& labelLines) {
  if (QPushButton* button = Button(entry)) SetButtonCaption(button, CaptionOf(labelLines));
}

QPushButton* PaletteButtons::Button(int entry) const {
  return entry >= 0 && entry < Count() ? buttons_[entry] : nullptr;
}

void PaletteButtons::Press(int entry) {
  if (QPushButton* button = Button(entry); button && group_) button->setChecked(true);
}
