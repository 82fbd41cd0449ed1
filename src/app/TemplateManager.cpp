#include "app/TemplateManager.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/LineIO.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripCreation.h"
#include "document/StripDocument.h"
#include "view/StripGeometry.h"
#include "view/StripRenderer.h"

namespace {

constexpr int kRowRole = Qt::UserRole;  // >= 0: a file; < 0: -1 - an unserved type
constexpr int kPreviewWidth = 280;
constexpr int kPreviewHeight = 260;
const QColor kUnservedColor(160, 0, 0);

QString SeriesText(const QList<int>& series) {
  QStringList names;
  for (int s : series) names << SeriesName(s);
  return names.join(QStringLiteral("、"));
}

QString FolderText(bool shipped, int folderIndex) {
  return shipped ? QStringLiteral("付属") : folderIndex == 0 ? QStringLiteral("ユーザー") : QStringLiteral("その他");
}

}  // namespace

TemplateManager::TemplateManager(const FileLocations& locations, const StripDocument& document, QWidget* parent)
    : QDialog(parent), store_(locations), document_(document) {
  setObjectName(QStringLiteral("TemplateManager"));
  setWindowTitle(QStringLiteral("テンプレートの管理"));

  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("TemplateList"));
  list_->setRootIsDecorated(false);
  list_->setColumnCount(kColumnCount);
  list_->setHeaderLabels({QStringLiteral("タイプ"), QStringLiteral("フォルダー"), QStringLiteral("シリーズ"),
                          QStringLiteral("グループ"), QStringLiteral("キー"), QStringLiteral("チェック")});
  list_->header()->setStretchLastSection(true);
  list_->setMinimumWidth(560);

  preview_ = new QLabel(this);
  preview_->setObjectName(QStringLiteral("TemplatePreview"));
  preview_->setFixedSize(kPreviewWidth, kPreviewHeight);
  preview_->setAlignment(Qt::AlignCenter);
  preview_->setFrameShape(QFrame::StyledPanel);
  faults_ = new QListWidget(this);
  faults_->setObjectName(QStringLiteral("TemplateFaults"));
  faults_->setFixedWidth(kPreviewWidth);
  faults_->setWordWrap(true);

  auto* right = new QVBoxLayout;
  right->addWidget(preview_);
  right->addWidget(new QLabel(QStringLiteral("チェックの結果:"), this));
  right->addWidget(faults_, 1);
  auto* top = new QHBoxLayout;
  top->addWidget(list_, 1);
  top->addLayout(right);

  auto* importButton = new QPushButton(QStringLiteral("取り込み(&I)..."), this);
  importButton->setObjectName(QStringLiteral("ImportButton"));
  exportButton_ = new QPushButton(QStringLiteral("書き出し(&E)..."), this);
  exportButton_->setObjectName(QStringLiteral("ExportButton"));
  deleteButton_ = new QPushButton(QStringLiteral("削除(&D)"), this);
  deleteButton_->setObjectName(QStringLiteral("DeleteButton"));
  saveTypeButton_ = new QPushButton(QStringLiteral("この示名条のタイプをテンプレートとして保存(&T)..."), this);
  saveTypeButton_->setObjectName(QStringLiteral("SaveTypeButton"));
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  close->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));

  extraButtons_ = new QHBoxLayout;
  auto* buttons = new QHBoxLayout;
  buttons->addLayout(extraButtons_);
  buttons->addWidget(importButton);
  buttons->addWidget(exportButton_);
  buttons->addWidget(deleteButton_);
  buttons->addWidget(saveTypeButton_);
  buttons->addStretch(1);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);

  connect(list_, &QTreeWidget::currentItemChanged, this, &TemplateManager::ShowSelected);
  connect(importButton, &QPushButton::clicked, this, &TemplateManager::ImportTemplate);
  connect(exportButton_, &QPushButton::clicked, this, &TemplateManager::ExportTemplate);
  connect(deleteButton_, &QPushButton::clicked, this, &TemplateManager::DeleteTemplate);
  connect(saveTypeButton_, &QPushButton::clicked, this, &TemplateManager::SaveStripType);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // Enter in the list must not start an import: only 閉じる answers it.
  for (QPushButton* button : {importButton, exportButton_, deleteButton_, saveTypeButton_}) button->setAutoDefault(false);
  Refresh();
  resize(960, 480);
  list_->setFocus();
}

void TemplateManager::Refresh() {
  const QString selected = list_->currentItem() ? list_->currentItem()->text(kType) : QString();
  const QStringList& folders = store_.Locations().TemplateFolders();
  files_ = SurveyTemplateFolders(folders);
  unserved_ = StripTypesWithoutTemplate(document_, folders);
  list_->clear();
  for (int i = 0; i < files_.size(); ++i) {
    const TemplateFileInfo& f = files_[i];
    auto* item = new QTreeWidgetItem(list_);
    item->setData(kType, kRowRole, i);
    item->setText(kType, f.stripType.isEmpty() ? f.fileName : f.stripType);
    item->setText(kFolder, FolderText(store_.Locations().IsShippedTemplate(f.path), f.folderIndex));
    item->setToolTip(kFolder, QDir::toNativeSeparators(f.path));
    item->setText(kSeries, SeriesText(f.series));
    item->setText(kGroups, QString::number(f.groups));
    item->setText(kKeys, QString::number(f.keys));
    item->setText(kCheck, f.offered ? TemplateCheckSummary(f.faults)
                                    : QStringLiteral("使われません: ") + f.notOfferedReason);
    item->setToolTip(kCheck, item->text(kCheck));
    if (HasTemplateErrors(f.faults) || !f.offered) item->setForeground(kCheck, kUnservedColor);
  }
  for (int i = 0; i < unserved_.size(); ++i) {
    const UnservedStripType& u = unserved_[i];
    auto* item = new QTreeWidgetItem(list_);
    item->setData(kType, kRowRole, -1 - i);
    item->setText(kType, u.stripType);
    item->setText(kFolder, QStringLiteral("（なし）"));
    item->setText(kSeries, sjis::Decode(u.seriesName));
    item->setText(kCheck, QStringLiteral("テンプレートがありません（示名条 %1 件が使用）").arg(u.strips));
    for (int c = 0; c < kColumnCount; ++c) item->setForeground(c, kUnservedColor);
  }
  for (int c = 0; c < kCheck; ++c) list_->resizeColumnToContents(c);
  if (selected.isEmpty() || !SelectType(selected)) list_->setCurrentItem(list_->topLevelItem(0));
  ShowSelected();
}

bool TemplateManager::SelectType(const QString& stripType) {
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    if (list_->topLevelItem(i)->text(kType) == stripType) {
      list_->setCurrentItem(list_->topLevelItem(i));
      return true;
    }
  }
  return false;
}

QString TemplateManager::SelectedPath() const {
  const QTreeWidgetItem* item = list_->currentItem();
  if (!item) return {};
  const int row = item->data(kType, kRowRole).toInt();
  return row >= 0 && row < files_.size() ? files_[row].path : QString();
}

void TemplateManager::ShowSelected() {
  faults_->clear();
  preview_->clear();
  const QTreeWidgetItem* item = list_->currentItem();
  const int row = item ? item->data(kType, kRowRole).toInt() : 0;
  const bool file = item && row >= 0;
  const bool shipped = file && store_.Locations().IsShippedTemplate(files_[row].path);
  exportButton_->setEnabled(file);
  deleteButton_->setEnabled(file && !shipped);
  saveTypeButton_->setEnabled(item && !file);
  if (!item) return;
  if (!file) {
    const UnservedStripType& u = unserved_[-1 - row];
    faults_->addItem(QStringLiteral("このタイプのテンプレートはどのフォルダーにもありません。"
                                    "「この示名条のタイプをテンプレートとして保存」で示名条 %1 から作れます。")
                         .arg(u.firstStrip));
    ShowPreview(document_.lines(), document_.FindStrip(u.firstStrip) + 1);
    return;
  }
  const TemplateFileInfo& f = files_[row];
  faults_->addItem(QDir::toNativeSeparators(f.path));
  if (!f.offered) faults_->addItem(QStringLiteral("使われません: ") + f.notOfferedReason);
  for (const TemplateFault& fault : f.faults) {
    faults_->addItem((fault.IsError() ? QStringLiteral("エラー ") : QStringLiteral("警告 ")) + fault.Text());
  }
  if (f.faults.isEmpty()) faults_->addItem(QStringLiteral("問題はありません。"));
  QByteArray bytes;
  if (HasTemplateErrors(f.faults) || !ReadFileBytes(f.path, &bytes)) {
    preview_->setText(QStringLiteral("プレビューできません"));
    return;
  }
  const TemplateReading reading = ReadTemplateBytes(bytes);
  const int series = f.series.value(0, 0);
  ShowPreview(DocumentOfTemplate(*reading.model, sjis::Encode(SeriesName(series)), sjis::Encode(f.stripType)), 3);
}

void TemplateManager::ShowPreview(const Lines& lines, qsizetype stripStart) {
  try {
    const StripPlan plan = PlanStrip(lines, stripStart);
    if (plan.tooMany) throw DocumentError(stripStart, QString::fromUtf8(kTooManyButtonsText));
    const QImage image = RenderStrip(lines, plan, kAllView);
    // Scaled to device pixels, so that a 200 % desktop shows it sharp.
    const qreal ratio = preview_->devicePixelRatioF();
    QImage scaled = image.scaled((preview_->size() - QSize(4, 4)) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    preview_->setPixmap(QPixmap::fromImage(scaled));
  } catch (const DocumentError&) {
    preview_->setText(QStringLiteral("プレビューできません"));
  }
}

void TemplateManager::ImportTemplate() {
  FileDialogSpec form;
  form.title = QStringLiteral("テンプレートの取り込み");
  form.filter = QStringLiteral("テンプレート(*.TPL)|*.TPL");
  form.defaultExtension = QStringLiteral("TPL");
  const std::optional<QString> path = Prompts::Current().OpenFile(form);
  if (!path || !store_.Import(*path)) return;
  Refresh();
  SelectType(QFileInfo(*path).fileName().section(QLatin1Char('.'), 0, 0));
}

void TemplateManager::ExportTemplate() {
  const QString path = SelectedPath();
  if (path.isEmpty()) return;
  FileDialogSpec form;
  form.title = QStringLiteral("テンプレートの書き出し");
  form.filter = QStringLiteral("テンプレート(*.TPL)|*.TPL");
  form.defaultExtension = QStringLiteral("TPL");
  form.fileName = QFileInfo(path).fileName();
  const std::optional<QString> target = Prompts::Current().SaveFile(form);
  if (target) TemplateStore::Export(path, *target);
}

void TemplateManager::DeleteTemplate() {
  const QString path = SelectedPath();
  if (!path.isEmpty() && store_.Remove(path)) Refresh();
}

void TemplateManager::SaveStripType() {
  const QTreeWidgetItem* item = list_->currentItem();
  const int row = item ? item->data(kType, kRowRole).toInt() : 0;
  if (row < 0) emit SaveStripTypeRequested(unserved_[-1 - row].firstStrip);
}
