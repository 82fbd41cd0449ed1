// The main window's key-label palette: its buttons and captions, the series
// change, a click on a label and the key-label dialog.
#include <QToolButton>

#include "app/Main.h"
#include "base/Mainsub.h"
#include "document/Series.h"
#include "base/Prompts.h"
#include "document/DocumentError.h"
#include "keylabels/KeyLabelFile.h"
#include "keylabels/Keylabel.h"
#include "keylabels/PaletteButtons.h"
#include "view/StripGeometry.h"
#include "view/StripView.h"

PaletteButtons& TFMain::KeyLabelButtons() {
  if (!keyLabelButtons_) {
    keyLabelButtons_ = new PaletteButtons(PageControl1, PaletteButtons::Latch::None, this);
    connect(keyLabelButtons_, &PaletteButtons::Clicked, this, &TFMain::KeyLabelButtonClick);
  }
  return *keyLabelButtons_;
}

void TFMain::MakeKeyLabelButtons(int series) { KeyLabelButtons().Make(series); }

void TFMain::FreeKeyLabelButtons() { KeyLabelButtons().Free(); }

void TFMain::SetKeyLabelCaptions() { KeyLabelButtons().SetCaptions(paletteList_, &labelLines_); }

void TFMain::StartPalette() {
  MakeKeyLabelButtons(currentSeries_);
  Myfunc_Load_Label(currentSeries_, settings_->Locations().KeyLabelFolder(), &paletteList_);
  SetKeyLabelCaptions();
}

void TFMain::ChangePaletteSeries(int series) {
  if (!IsSeries(series)) return;
  // The strip on screen and the tab shown stay as they are; the buttons
  // the two series have in common are captioned anew, not made anew.
  currentSeries_ = series;
  StartPalette();
}

void TFMain::KeyLabelButtonClick(int entry) {
  if (!showDetail_ || keyCount_ == 0) return;
  try {
    const KeyLabelFormat format = Myfunc_Get_Label(paletteList_, entry, &labelLines_);
    ApplyKeyLabelToSelectedKeys(
        {format.fontName, format.fontSize, format.fontColor, format.backColor, labelLines_});
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
  }
}

void TFMain::ActionKeyLabelEditExecute() {
  if (!windows_.keyLabel) return;
  const Lines before = paletteList_;
  windows_.keyLabel->ShowModal(
      {currentSeries_, settings_->Locations().KeyLabelFolder(), &paletteList_, &labelLines_, fontList_});
  // The dialog's answer does not matter: only a changed list is re-captioned.
  if (paletteList_ != before) SetKeyLabelCaptions();
}
