#include "view/Viewimage.h"

#include "base/Mainsub.h"
#include "base/Placement.h"

TFViewImage::TFViewImage(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FViewImage"));
  setWindowTitle(QStringLiteral("画像取込み"));
  resize(360, 260);
  setMinimumSize(360, 260);
  RestoreDialogPosition(this, settings_, QStringLiteral("ViewImageTop"), QStringLiteral("ViewImageLeft"));
  pictureFileSizeMax_ = settings_.ReadInteger(QStringLiteral("Data"), QStringLiteral("PictureFileSizeMax"), 30720);
  openPicture_ = settings_.ReadString(QStringLiteral("Dir"), QStringLiteral("OpenPicture"),
                                      settings_.InProgramFolder(QStringLiteral("ロゴ集")));
}

TFViewImage::~TFViewImage() {
  SaveDialogPosition(this, settings_, QStringLiteral("ViewImageTop"), QStringLiteral("ViewImageLeft"));
  settings_.WriteInteger(QStringLiteral("Data"), QStringLiteral("PictureFileSizeMax"), pictureFileSizeMax_);
  settings_.WriteString(QStringLiteral("Dir"), QStringLiteral("OpenPicture"), openPicture_);
}
