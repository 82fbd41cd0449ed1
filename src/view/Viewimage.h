#pragma once
// The picture import dialog.

#include <QDialog>

class TSettings;

class TFViewImage : public QDialog {
  Q_OBJECT
 public:
  explicit TFViewImage(TSettings& settings, QWidget* parent = nullptr);
  ~TFViewImage() override;

  int PictureFileSizeMax() const { return pictureFileSizeMax_; }
  const QString& OpenPictureFolder() const { return openPicture_; }

 private:
  TSettings& settings_;
  int pictureFileSizeMax_;
  QString openPicture_;
};
