#include "keylabels/PaletteButtons.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QFontMetrics>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <utility>

#include "document/Series.h"

void SetButtonCaption(QAbstractButton* button, const KeyLabelCaption& caption) {
  QFont font = button->font();
  font.setPointSize(caption.pointSize);
  button->setFont(font);
  button->setText(caption.text);
  button->setAccessibleName(caption.text);
}

void FitPaletteTabs(QTabWidget* pages, int width) {
  QTabBar* bar = pages->tabBar();
  bar->setExpanding(true);
  bar->setUsesScrollButtons(false);
  bar->setElideMode(Qt::ElideNone);
  pages->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 0px; min-width: 58px; }"));
  // A third of the width, less the tab's frame and a little air.
  const int room = width / std::max(1, pages->count()) - 8;
  QFont font = bar->font();
  auto widest = [&] {
    const QFontMetrics metrics(font);
    int w = 0;
    for (int i = 0; i < bar->count(); ++i) w = std::max(w, metrics.horizontalAdvance(bar->tabText(i)));
    return w;
  };
  while (font.pixelSize() > 6 && widest() > room) font.setPixelSize(font.pixelSize() - 1);
  bar->setFont(font);
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
  // A latching palette starts with no button pressed: it is made anew.
  if (latch_ == Latch::OneStaysPressed) Free();
  const int perTab = PaletteEntriesPerTab(series);
  const int count = PaletteEntryCount(series);
  if (latch_ == Latch::OneStaysPressed) {
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
  }
  // The buttons already on a sheet stay where the new series has a button
  // at their place; the others go, and the missing ones are made.
  QList<QPointer<QPushButton>> kept(count);
  for (int i = 0; i < Count(); ++i) {
    const int tab = i / perTab_, row = i % perTab_;
    if (buttons_[i] && row < perTab && tab * perTab + row < count) {
      kept[tab * perTab + row] = buttons_[i];
    } else {
      delete buttons_[i];
    }
  }
  buttons_ = kept;
  perTab_ = perTab;
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPointSize(9);
  for (int i = 0; i < count; ++i) {
    if (QPushButton* button = buttons_[i]) {
      // As a new one: no caption yet.
      button->setObjectName(QStringLiteral("KeyLabelButton%1").arg(i));
      button->setFont(font);
      button->setText(QString());
      button->setAccessibleName(QString());
    } else {
      buttons_[i] = MakeButton(i, font);
    }
  }
}

QPushButton* PaletteButtons::MakeButton(int i, const QFont& font) {
  auto* button = new QPushButton(pages_->widget(i / perTab_));
  button->setObjectName(QStringLiteral("KeyLabelButton%1").arg(i));
  button->setFont(font);
  button->setGeometry(0, palette::kButtonPitch * (i % perTab_), palette::kButtonWidth, palette::kButtonHeight);
  button->setFocusPolicy(Qt::NoFocus);
  if (group_) {
    button->setCheckable(true);
    group_->addButton(button);
  }
  // The entry is found when clicked: a kept button may stand for another
  // entry in the next series.
  connect(button, &QPushButton::clicked, this, [this, button] { emit Clicked(int(buttons_.indexOf(button))); });
  button->show();
  return button;
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
