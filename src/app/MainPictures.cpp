// The main window's picture commands: attaching a picture to a key through
// the picture dialog, and removing it.
#include "app/Main.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/DocumentError.h"
#include "view/KeyPicture.h"
#include "view/PictureCodec.h"
#include "view/StripView.h"
#include "view/Viewimage.h"

void TFMain::ActionEditPicOnExecute() {
  if (keyCount_ == 0 || !windows_.viewImage) return;
  CommitPendingKey();
  auto keyLine = [this](int k) { return stripView_->KeyBlockLine(k); };
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
    // The picture replaces the text of every selected key.
    HistoryStep step(*this, "画像添付");
    const std::vector<int> emptied = SelectedKeys();
    AttachPicture(document_, SelectedKeyLines(), keyLine(currentKey_), picture);
    stripView_->RefreshKeyBlockLines();
    for (int k : emptied) {
      stripView_->ReloadEditor(k);
      stripView_->DrawKeyFace(k);
    }
    stripView_->DrawKeyFace(currentKey_);
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
  }
}

void TFMain::ActionEditPicOffExecute() {
  if (keyCount_ == 0) return;
  HistoryStep step(*this, "画像添付解除");
  try {
    RemovePicture(document_, stripView_->KeyBlockLine(currentKey_));
    stripView_->DrawKeyFace(currentKey_);
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
  }
}
