#pragma once
// The controls of the laid-out strip in the detail and all views: built from
// the strip's plan, destroyed when the view is cleared. The window owns one
// of these; it turns the controls' events into signals by key index.

#include <QObject>
#include <array>
#include <vector>

#include "view/KeyControls.h"
#include "view/KeyPicture.h"
#include "view/StripGeometry.h"

class CanvasImage;
class StripDocument;
struct KeyTextFormat;

class StripView : public QObject {
  Q_OBJECT
 public:
  // The content widgets of the two scroll boxes and the canvases on them.
  StripView(QWidget* detailContent, CanvasImage* detailCanvas, QWidget* allContent,
            CanvasImage* allCanvas, QObject* parent = nullptr);
  ~StripView() override;

  enum class BuildResult {
    Built,         // every group and key laid out
    TooManyGroups, // more than 100 groups: nothing built
    TooManyKeys,   // a group took the key count past 100: the keys before it stay
  };

  // Hides every key control and empties both canvases.
  void Clear();
  // Lays out the strip starting at `stripStart`: the canvases, then the
  // controls of every key, then draws every key's face. Long text lines are
  // cut and written back first. DocumentError (the document untouched) when
  // a line that must hold a number does not.
  BuildResult Build(StripDocument& document, qsizetype stripStart);
  // Redraws key k in both views from its lines (text, format or picture changed).
  void DrawKeyFace(int k);

  int KeyCount() const { return static_cast<int>(plan_.keys.size()); }
  const StripPlan& Plan() const { return plan_; }
  const KeyControls& Controls(int k, ViewKind view) const { return controls_[k][view]; }
  // Key k's editor in the detail view, made when first asked for: it holds
  // the key's text lines, as the document has them, in the key's font. The
  // all view has no editor.
  QPlainTextEdit* Editor(int k);
  // The document line of key k's block.
  qsizetype KeyBlockLine(int k) const { return plan_.keys[k].blockLine; }
  // Key k's block grew by `delta` lines: the blocks and groups after it move.
  void MoveBlocksAfter(int k, qsizetype delta);
  // Reloads key k's editor from its lines (font, colours and text).
  void ReloadEditor(int k);
  // Reloads only its font and colours: a text being typed stays.
  void ReloadEditorFormat(int k);

  // The selection mark: the detail text frame's pen, 2 px while selected.
  void SetSelectionMark(int k, bool selected);
  // Editing in place: the editor over the frame, the frame hidden; and back.
  void ShowEditor(int k);
  void HideEditor(int k);
  // Reads every key's block line again after text lines were added or
  // removed. DocumentError when the strip's counts no longer add up.
  void RefreshKeyBlockLines();
  // How often key k's picture was decoded since the strip was laid out (a
  // picture the window already knows is not decoded again).
  int PictureDecodeCount(int k) const { return pictures_[k].DecodeCount(); }
  // Key k's text shows whole in the detail view at its font and size (as
  // drawn last); a key that does not carries the overflow mark there.
  bool KeyTextFits(int k) const { return k < 0 || k >= KeyCount() || fits_[k]; }
  // The keys of the laid-out strip whose text does not fit, in key order.
  std::vector<int> KeysNotFitting() const;

 signals:
  // A double-click on a key's face, picture or number label in the all view.
  void AllViewKeyDoubleClicked(int k);
  // Detail view events of editable keys.
  void KeyFaceMouseDown(int k, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
  void KeyFaceClick(int k);
  void KeyFaceDblClick(int k);
  void KeyPictureMouseDown(int k, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
  void KeyPictureClick(int k);
  void KeyPictureDblClick(int k);
  // The detail text panel of an editable key gains or loses the focus
  // (not counting pop-up menus and window switches).
  void KeyPanelEnter(int k);
  void KeyPanelExit(int k);
  // A key pressed or a composition begun on the focused panel of key k
  // that opens its editor: `passOn` is the event that starts the typing,
  // to be handed to the editor, or nullptr for Enter or F2 (caret at the end).
  void KeyPanelEdit(int k, QEvent* passOn);
  // Key k's editor: Esc pressed; the focus left it.
  void KeyEditorEscape(int k);
  void KeyEditorExit(int k);
  // Key k's editor: the line of the caret (0-based) holds `bytes` bytes in Shift_JIS.
  void KeyEditorLineBytes(int k, int line, int bytes);
  // The pop-up menu of a key's face or of its picture, at a screen position.
  void KeyFaceContextMenu(int k, QPoint globalPosition);
  void KeyPictureContextMenu(int k, QPoint globalPosition);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The controls of key k in both views, made for the first strip with that
  // many keys and kept for the strips after it.
  void CreateKeyControls(int k);
  // Places key k's controls for the strip laid out; hides those of a key
  // the strip does not have.
  void PlaceKeyControls(int k);
  bool Editable(int k) const;
  void WireDetailEvents(int k, const KeyControls& c);
  void WireAllViewEvents(int k, const KeyControls& c);
  void RaiseWindowedControls();
  void LoadKeyText(int k);
  void LoadEditorFormat(int k, const KeyTextFormat& format);
  QWidget* NewLayer(ViewKind view);

  std::array<QWidget*, kViewCount> content_;
  // Every key control of a view lies on one transparent layer over the
  // canvas, hidden while no strip is laid out. The controls are kept from
  // strip to strip: laying a strip out places them rather than making
  // hundreds of widgets anew.
  std::array<QWidget*, kViewCount> layer_{};
  std::array<CanvasImage*, kViewCount> canvas_;
  StripDocument* document_ = nullptr;
  StripPlan plan_;
  std::vector<std::array<KeyControls, kViewCount>> controls_;
  // Each key's decoded picture, so that redrawing a key does not decode it.
  std::vector<KeyPictureMemo> pictures_;
  std::vector<bool> fits_;
  DecodedPictures decodedPictures_;
};
