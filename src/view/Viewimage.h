#pragma once
// The picture import dialog "画像取込み": shows a key's picture at its
// natural size, loads a BMP or JPEG file, clears it, and on OK hands back
// the picture with the loaded file's extension and bytes. Files larger than
// PictureFileSizeMax (settings, bytes) are refused on OK.

#include <QByteArray>
#include <QDialog>
#include <QImage>
#include <optional>

class QLabel;
class QPushButton;
class QScrollArea;
class TSettings;

// What OK hands back. The extension (with its dot, in the file name's
// letter case) is empty when no file was loaded since the dialog was shown
// or after "クリア": the key is then left without a picture.
struct ChosenPicture {
  QString extension;
  QByteArray fileBytes;
  QImage image;
};

class TFViewImage : public QDialog {
  Q_OBJECT
 public:
  explicit TFViewImage(TSettings& settings, QWidget* parent = nullptr);
  ~TFViewImage() override;

  // Shows `current` and runs the dialog modally; nothing on cancel.
  std::optional<ChosenPicture> ChoosePicture(const QImage& current);
  // Loads a picture file, its format by its extension; false when it does
  // not exist or is no picture (the shown picture is then unchanged).
  bool LoadPictureFile(const QString& fileName);
  // No picture: the image fills the scroll box's client area, white.
  void ClearPicture();
  // Puts the image in the middle of the scroll box where it is smaller than
  // the box, at its edge where it is larger.
  void CentrePicture();

  int PictureFileSizeMax() const { return pictureFileSizeMax_; }
  const QString& OpenPictureFolder() const { return openPicture_; }
  const QString& LoadedFileName() const { return loadedFileName_; }
  qint64 LoadedFileSize() const { return loadedFileSize_; }
  const QImage& Picture() const { return image_; }

  // The message when the loaded file is larger than the limit.
  static QString TooLargeText(int pictureFileSizeMax);

  // Controls, named as the dialog's layout names them.
  QScrollArea* ScrollBox1 = nullptr;
  QLabel* Image1 = nullptr;
  QPushButton* ButtonLoad = nullptr;
  QPushButton* ButtonClear = nullptr;
  QPushButton* ButtonOK = nullptr;
  QPushButton* ButtonCancel = nullptr;

 public slots:
  void ButtonLoadClick();
  void ButtonClearClick();
  void ButtonOKClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateControls();
  void ShowImage(const QImage& image);
  void ForgetLoadedFile();

  TSettings& settings_;
  int pictureFileSizeMax_;
  QString openPicture_;
  QImage image_;
  bool cleared_ = false;  // the white area fills the box instead of an image
  QByteArray fileBytes_;
  QString loadedFileName_;
  qint64 loadedFileSize_ = -1;
};
