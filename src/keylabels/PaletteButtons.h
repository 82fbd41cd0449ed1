#pragma once
// The buttons of a palette: one per palette entry, on the three tab sheets of
// a tab control, 172 x 23 pixels, one pixel apart. The main window's palette
// and the key-label dialog both use them; the dialog's latch (exactly one
// stays pressed), the main window's do not.

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

#include "document/CheckedRead.h"
#include "keylabels/PaletteList.h"

class QAbstractButton;
class QButtonGroup;
class QFont;
class QPushButton;
class QTabWidget;

namespace palette {
inline constexpr int kButtonWidth = 172;
inline constexpr int kButtonHeight = 23;
inline constexpr int kButtonPitch = 24;
}  // namespace palette

// Three tabs side by side on sheets `width` pixels wide, each caption whole:
// a font too wide for a third of the width is made smaller until it fits.
void FitPaletteTabs(QTabWidget* pages, int width);

// Gives a button a caption of the caption rule: its text, its point size,
// and its caption as the name assistive tools read.
void SetButtonCaption(QAbstractButton* button, const KeyLabelCaption& caption);

class PaletteButtons : public QObject {
  Q_OBJECT
 public:
  enum class Latch { None, OneStaysPressed };
  // `pages` must hold three tab sheets.
  PaletteButtons(QTabWidget* pages, Latch latch, QObject* parent = nullptr);
  ~PaletteButtons() override;

  // Gives the series 3 x n buttons without captions; entry i lies on sheet
  // i div n at top 24 x (i mod n). A button made before for another series
  // stays where the new series has one at its place (a latching palette's
  // are all made anew); the others are destroyed.
  void Make(int series);
  // Destroys every button.
  void Free();
  // Captions every button from its entry of `list`, reading each through
  // Myfunc_Get_Label into `labelLines`. DocumentError when the list does not
  // hold the entries (the buttons captioned so far keep their captions).
  void SetCaptions(const Lines& list, Lines* labelLines);
  // Captions button `entry` from the label line buffer.
  void SetCaption(int entry, const Lines& labelLines);

  int Count() const { return static_cast<int>(buttons_.size()); }
  int PerTab() const { return perTab_; }
  QPushButton* Button(int entry) const;
  // Presses button `entry` (a latching palette only).
  void Press(int entry);

 signals:
  // A button was clicked; its position in the list is its entry number.
  void Clicked(int entry);

 private:
  QPushButton* MakeButton(int entry, const QFont& font);

  QTabWidget* pages_;
  Latch latch_;
  QButtonGroup* group_ = nullptr;
  // The tab sheets own the buttons and may go first when a window closes.
  QList<QPointer<QPushButton>> buttons_;
  int perTab_ = 0;
};
