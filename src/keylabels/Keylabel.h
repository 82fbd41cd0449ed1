#pragma once
// The key-label settings dialog "キーラベル設定": edits the palette entries
// of the current series one by one, writes the series' key-label file on OK
// and reads it back on Cancel. The palette list and the label line buffer it
// edits belong to the main window.

#include <QDialog>
#include <QStringList>
#include <functional>

#include "document/CheckedRead.h"
#include "keylabels/PaletteList.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class PaletteButtons;
class TSettings;

// What one showing of the dialog works on.
struct KeyLabelSession {
  int series = 0;
  QString folder;               // where the key-label files lie
  Lines* paletteList = nullptr; // edited in place
  Lines* labelLines = nullptr;  // the label line buffer
  QStringList markedFonts;      // family name + "t" (TrueType) or "u", per font
};

// Writes the palette list as the series' key-label file; false on failure.
using KeyLabelWriter = std::function<bool(int series, const QString& folder, const Lines& list)>;

class TFKeyLabel : public QDialog {
  Q_OBJECT
 public:
  explicit TFKeyLabel(TSettings& settings, QWidget* parent = nullptr);
  ~TFKeyLabel() override;

  // Prepares the dialog for the session and shows it modally; the result is
  // not meant to be consulted (the palette list tells what changed).
  int ShowModal(const KeyLabelSession& session);
  // The preparation alone: fonts, sizes, buttons, the first entry of the
  // tab last shown.
  void Open(const KeyLabelSession& session);
  // Replaces the file writer (tests inject failures through it).
  void SetWriter(KeyLabelWriter writer) { writer_ = std::move(writer); }

  int CurrentEntry() const { return currentEntry_; }
  const KeyLabelFormat& Working() const { return working_; }
  PaletteButtons& Buttons() { return *buttons_; }

  // Handlers.
  void KeyLabelButtonClick(int entry);
  void PageControlChange(int tab);
  void ComboBoxFontChange(int index);
  void ComboBoxFontSizeChange(int index);
  void Color_ButtonClick();
  void BColor_ButtonClick();
  void Kakutei_ButtonClick();
  void InitRet_ButtonClick();
  void OK_ButtonClick();
  void Cancel_ButtonClick();

  // Controls, named as the dialog's layout names them.
  QTabWidget* PageControl = nullptr;
  QComboBox* ComboBoxFont = nullptr;
  QComboBox* ComboBoxFontSize = nullptr;
  QPushButton* Color_Button = nullptr;
  QPushButton* BColor_Button = nullptr;
  QPlainTextEdit* Memo = nullptr;
  QPushButton* Kakutei_Button = nullptr;
  QPushButton* InitRet_Button = nullptr;
  QPushButton* OK_Button = nullptr;
  QPushButton* Cancel_Button = nullptr;

 public slots:
  // Every way of closing ends here: the entry buttons go with the dialog.
  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void Myfunc_Set_Button();
  void Myfunc_Set_Memo();
  // Reads the current entry into the working values and shows it.
  void ShowCurrentEntry();
  void SetMemoColors();
  void SetMemoFont();

  TSettings& settings_;
  PaletteButtons* buttons_ = nullptr;
  KeyLabelSession session_;
  KeyLabelWriter writer_;
  int currentEntry_ = 0;
  KeyLabelFormat working_;
};
