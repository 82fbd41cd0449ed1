// The main window's picture commands: attaching a picture to a key through
// the picture dialog, and removing it.
#include <QPlainTextEdit>

#include "app/Main.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/DocumentError.h"
#include "view/KeyPicture.h"
#include "view/PictureCodec.h"
#include "view/StripView.h"
#include "view/Viewimage.h"

QList<int> TFMain::PictureTargetKeys() const {
  // The keys whose text an attached picture replaces: the selected keys.
  // Until the key selection is built, the current key stands for it.
  return {currentKey_};
}

void TFMain::WirePictureCommands() {
  connect(stripView_, &StripView::KeyPictureDblClick, this, [this](int k) {
    // The click before the double-click has made k the current key.
    currentKey_ = k;
    ActionEditPicOnExecute();
  });
}

void TFMain::ActionEditPicOnExecute() {
  if (keyCount_ == 0 || !windows_.viewImage) return;
  auto keyLine = [this](int k) { return KeyBlockLine(document_.lines(), stripStartLine_, k); };
  try {
    const QImage current = DecodeKeyPicture(document_.lines(), keyLine(currentKey_));
    const std::optional<ChosenPicture> chosen = windows_.viewImage->ChoosePicture(current);
    if (!chosen) return;
    // OK without a loaded file leaves the key without a picture.
    PictureFields picture;
    if (!chosen->extension.isEmpty()) {
      picture.kind = sjis::Encode(chosen->extension);
      picture.data = EncodePictureText(chosen->fileBytes);
    }
    // The lines are read after the dialog: a key being typed into was
    // committed when the dialog took the focus.
    const QList<int> emptied = PictureTargetKeys();
    QList<qsizetype> emptiedLines;
    for (int k : emptied) emptiedLines.append(keyLine(k));
    AttachPicture(document_, emptiedLines, keyLine(currentKey_), picture);
    stripView_->RefreshKeyBlockLines();
    for (int k : emptied) {
      if (QPlainTextEdit* editor = stripView_->Controls(k, kDetailView).editor) editor->clear();
      stripView_->DrawKeyFace(k);
    }
    stripView_->DrawKeyFace(currentKey_);
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
  }
}

void TFMain::ActionEditPicOffExecute() {
  if (keyCount_ == 0) return;
  try {
    RemovePicture(document_, KeyBlockLine(document_.lines(), stripStartLine_, currentKey_));
    stripView_->DrawKeyFace(currentKey_);
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
  }
}
