#include "view/Viewimage.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "base/Mainsub.h"
#include "base/Placement.h"
#include "base/Prompts.h"
#include "view/PictureCodec.h"

namespace {

const QString kDataSection = QStringLiteral("Data");
const QString kSizeMaxKey = QStringLiteral("PictureFileSizeMax");
const QString kDirSection = QStringLiteral("Dir");
const QString kFolderKey = QStringLiteral("OpenPicture");
constexpr int kDefaultSizeMax = 30720;

// No picture file anyone would attach comes near this; a larger file is not
// read into memory at all and counts as no picture.
constexpr qint64 kReadLimit = 64 * 1024 * 1024;

QByteArray ReadWholeFile(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kReadLimit) return QByteArray();
  return file.read(kReadLimit);
}

QPushButton* NewButton(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setFixedSize(75, 25);
  return button;
}

}  // namespace

TFViewImage::TFViewImage(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("FViewImage"));
  setWindowTitle(QStringLiteral("画像取込み"));
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPixelSize(12);
  setFont(font);
  CreateControls();
  resize(360, 260);
  setMinimumSize(360, 260);
  RestoreDialogPosition(this, settings_, QStringLiteral("ViewImageTop"), QStringLiteral("ViewImageLeft"));
  pictureFileSizeMax_ = settings_.ReadInteger(kDataSection, kSizeMaxKey, kDefaultSizeMax);
  openPicture_ = settings_.ReadString(kDirSection, kFolderKey, settings_.InProgramFolder(QStringLiteral("ロゴ集")));
}

TFViewImage::~TFViewImage() {
  SaveDialogPosition(this, settings_, QStringLiteral("ViewImageTop"), QStringLiteral("ViewImageLeft"));
  settings_.WriteInteger(kDataSection, kSizeMaxKey, pictureFileSizeMax_);
  settings_.WriteString(kDirSection, kFolderKey, openPicture_);
}

void TFViewImage::CreateControls() {
  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1->setFocusPolicy(Qt::StrongFocus);
  ScrollBox1->setWidgetResizable(false);
  Image1 = new QLabel;
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setAutoFillBackground(true);
  QPalette white = Image1->palette();
  white.setColor(QPalette::Window, Qt::white);
  Image1->setPalette(white);
  Image1->resize(0, 0);
  ScrollBox1->setWidget(Image1);

  auto* bar = new QWidget(this);
  bar->setFixedHeight(40);
  ButtonLoad = NewButton(QStringLiteral("ButtonLoad"), QStringLiteral("取込み"), bar);
  ButtonClear = NewButton(QStringLiteral("ButtonClear"), QStringLiteral("クリア"), bar);
  ButtonOK = NewButton(QStringLiteral("ButtonOK"), QStringLiteral("OK"), bar);
  ButtonCancel = NewButton(QStringLiteral("ButtonCancel"), QStringLiteral("ｷｬﾝｾﾙ"), bar);
  ButtonOK->setDefault(true);
  auto* buttons = new QHBoxLayout(bar);
  buttons->setContentsMargins(8, 0, 8, 0);
  buttons->addWidget(ButtonLoad);
  buttons->addWidget(ButtonClear);
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ScrollBox1, 1);
  layout->addWidget(bar);

  connect(ButtonLoad, &QPushButton::clicked, this, &TFViewImage::ButtonLoadClick);
  connect(ButtonClear, &QPushButton::clicked, this, &TFViewImage::ButtonClearClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TFViewImage::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<ChosenPicture> TFViewImage::ChoosePicture(const QImage& current) {
  ShowImage(current);
  fileBytes_.clear();
  if (exec() != QDialog::Accepted) return std::nullopt;
  ChosenPicture chosen;
  chosen.image = image_;
  if (!loadedFileName_.isEmpty()) {
    const QString suffix = QFileInfo(loadedFileName_).suffix();
    if (!suffix.isEmpty()) chosen.extension = '.' + suffix;
    chosen.fileBytes = fileBytes_;
  }
  fileBytes_.clear();  // the key keeps its own copy
  return chosen;
}

bool TFViewImage::LoadPictureFile(const QString& fileName) {
  const QFileInfo info(fileName);
  const PictureFormat format = PictureFormatOf('.' + info.suffix());
  if (format == PictureFormat::Unknown || !info.isFile()) return false;
  const QByteArray bytes = ReadWholeFile(fileName);
  const QImage image = DecodePictureBytes(bytes, format);
  if (image.isNull()) return false;
  fileBytes_ = bytes;
  ShowImage(image);
  return true;
}

void TFViewImage::ShowImage(const QImage& image) {
  image_ = image;
  cleared_ = false;
  ScrollBox1->setWidgetResizable(false);
  if (image.isNull()) {
    Image1->clear();
  } else {
    Image1->setPixmap(QPixmap::fromImage(image));
  }
  CentrePicture();
}

void TFViewImage::ClearPicture() {
  image_ = QImage();
  fileBytes_.clear();
  cleared_ = true;
  Image1->clear();
  // The white image follows the client area from now on.
  ScrollBox1->setWidgetResizable(true);
  CentrePicture();
}

void TFViewImage::CentrePicture() {
  if (!cleared_) Image1->resize(image_.size());
  // The scroll box places a smaller image at half the difference from its
  // edges and a larger one at its origin, scroll bars and all.
  ScrollBox1->setAlignment(Qt::AlignCenter);
}

void TFViewImage::ForgetLoadedFile() {
  loadedFileName_.clear();
  loadedFileSize_ = -1;
}

void TFViewImage::ButtonLoadClick() {
  FileDialogSpec form;
  form.title = QStringLiteral("画像ﾌｧｲﾙ読み込み");
  form.filter = QStringLiteral("画像ﾌｧｲﾙ(*.bmp;*.jpg;*.jpeg)|*.bmp;*.jpg;*.jpeg");
  form.folder = openPicture_;
  if (const std::optional<QString> chosen = Prompts::Current().OpenFile(form)) {
    openPicture_ = QFileInfo(*chosen).absolutePath();
    if (LoadPictureFile(*chosen)) {
      loadedFileName_ = *chosen;
      loadedFileSize_ = fileBytes_.size();
    } else {
      ClearPicture();
      ForgetLoadedFile();
    }
  }
  ScrollBox1->setFocus();
  CentrePicture();
}

void TFViewImage::ButtonClearClick() {
  ClearPicture();
  ForgetLoadedFile();
}

QString TFViewImage::TooLargeText(int pictureFileSizeMax) {
  return QStringLiteral("画像ファイルが大きすぎます。") + QString::number(pictureFileSizeMax / 1024) +
         QStringLiteral("kbyte以下の画像ファイルを選択してください。");
}

void TFViewImage::ButtonOKClick() {
  if (pictureFileSizeMax_ >= loadedFileSize_) {
    accept();
    return;
  }
  Prompts::Error(TooLargeText(pictureFileSizeMax_));
}

void TFViewImage::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentrePicture();
  ForgetLoadedFile();
  ScrollBox1->setFocus();
}

void TFViewImage::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  CentrePicture();
}
