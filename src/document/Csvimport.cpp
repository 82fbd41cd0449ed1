#include "document/Csvimport.h"

#include <QBrush>
#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { kRow, kExtension, kOutcome };

// Which entry of the plan an item shows: a row (its index) or an error of
// the file (its index), kept in the item's data.
constexpr int kRowRole = Qt::UserRole;
constexpr int kFileErrorRole = Qt::UserRole + 1;

const QColor kWarningColor(0xB0, 0x50, 0x00);

QTreeWidgetItem* RowItem(const QString& row, const QString& extension, const QString& outcome, bool error) {
  auto* item = new QTreeWidgetItem({row, extension, outcome});
  item->setTextAlignment(kRow, Qt::AlignRight | Qt::AlignVCenter);
  item->setToolTip(kOutcome, outcome);
  if (error) item->setForeground(kOutcome, QBrush(Qt::red));
  return item;
}

QString ChangeText(const CsvCellChange& change) {
  if (change.warning.isEmpty()) return change.Text();
  return QStringLiteral("%1　［警告］%2").arg(change.Text(), change.warning);
}

QString RowOutcome(const CsvRowPlan& row) {
  const int warnings = row.Warnings();
  if (warnings == 0) return row.OutcomeText();
  return QStringLiteral("%1（警告 %2件）").arg(row.OutcomeText()).arg(warnings);
}

// The whole text of a row: what it does, its errors and its changes.
QString RowDetail(const CsvRowPlan& row) {
  QStringList lines{QStringLiteral("%1行目 内線番号 %2").arg(row.row).arg(row.extension)};
  for (const CsvRowError& error : row.errors) lines.append(error.Text());
  if (row.errors.isEmpty()) lines.append(row.OutcomeText());
  for (const CsvCellChange& change : row.changes) lines.append(QStringLiteral("  ") + ChangeText(change));
  return lines.join('\n');
}

}  // namespace

TFCsvImport::TFCsvImport(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FCsvImport"));
  setWindowTitle(QStringLiteral("CSVの取り込み"));
  setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
  resize(720, 520);

  LabelFile = new QLabel(this);
  LabelFile->setObjectName(QStringLiteral("LabelFile"));
  ListViewRows = new QTreeWidget(this);
  ListViewRows->setObjectName(QStringLiteral("ListViewRows"));
  ListViewRows->setHeaderLabels({QStringLiteral("行"), QStringLiteral("内線番号"), QStringLiteral("結果")});
  ListViewRows->setSelectionMode(QAbstractItemView::SingleSelection);
  ListViewRows->header()->setStretchLastSection(true);
  ListViewRows->setColumnWidth(kRow, 70);
  ListViewRows->setColumnWidth(kExtension, 100);
  connect(ListViewRows, &QTreeWidget::itemExpanded, this, &TFCsvImport::AddChanges);
  connect(ListViewRows, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { ShowDetail(item); });
  MemoDetail = new QPlainTextEdit(this);
  MemoDetail->setObjectName(QStringLiteral("MemoDetail"));
  MemoDetail->setReadOnly(true);
  MemoDetail->setPlaceholderText(QStringLiteral("行を選ぶと、その行の内容をここに全文で示します（コピーできます）"));
  MemoDetail->setFixedHeight(90);
  LabelSummary = new QLabel(this);
  LabelSummary->setObjectName(QStringLiteral("LabelSummary"));
  LabelSummary->setWordWrap(true);
  CheckAcceptWarnings = new QCheckBox(QStringLiteral("警告のセルを確かめました。このまま取り込みます"), this);
  CheckAcceptWarnings->setObjectName(QStringLiteral("CheckAcceptWarnings"));
  CheckAcceptWarnings->hide();
  connect(CheckAcceptWarnings, &QCheckBox::toggled, this, &TFCsvImport::UpdateOk);

  ButtonOk = new QPushButton(QStringLiteral("OK"), this);
  ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
  ButtonOk->setDefault(true);
  ButtonCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
  connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(LabelSummary, 1);
  buttons->addWidget(ButtonOk);
  buttons->addWidget(ButtonCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelFile);
  layout->addWidget(ListViewRows, 1);
  layout->addWidget(MemoDetail);
  layout->addWidget(CheckAcceptWarnings);
  layout->addLayout(buttons);
}

void TFCsvImport::ShowPlan(const QString& fileName, const CsvImportPlan& plan) {
  plan_ = &plan;
  LabelFile->setText(QStringLiteral("取り込むファイル: %1").arg(QFileInfo(fileName).fileName()));
  ListViewRows->clear();
  // Errors of the file and its header have no row of their own.
  QSet<int> planned;
  for (const CsvRowPlan& row : plan.rows) planned.insert(row.row);
  for (qsizetype e = 0; e < plan.errors.size(); ++e) {
    const CsvRowError& error = plan.errors[e];
    if (planned.contains(error.row)) continue;
    const QString row = error.row > 0 ? QString::number(error.row) : QString();
    QTreeWidgetItem* item = RowItem(row, QString(), error.Detail(), true);
    item->setData(kRow, kFileErrorRole, static_cast<int>(e));
    ListViewRows->addTopLevelItem(item);
  }
  QList<QTreeWidgetItem*> items;
  items.reserve(plan.rows.size());
  for (qsizetype r = 0; r < plan.rows.size(); ++r) {
    const CsvRowPlan& row = plan.rows[r];
    QTreeWidgetItem* item =
        RowItem(QString::number(row.row), row.extension, RowOutcome(row), row.outcome == CsvRowOutcome::kError);
    if (row.Warnings() > 0) item->setForeground(kOutcome, QBrush(kWarningColor));
    item->setData(kRow, kRowRole, static_cast<int>(r));
    // A row's cells are listed when it is opened, so that a list of many
    // thousand new strips fills at once.
    if (!row.changes.isEmpty()) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    items.append(item);
  }
  ListViewRows->addTopLevelItems(items);
  for (QTreeWidgetItem* item : items) {
    const CsvRowPlan& row = plan.rows[item->data(kRow, kRowRole).toInt()];
    if (row.outcome != CsvRowOutcome::kUpdate && row.Warnings() == 0) continue;
    AddChanges(item);
    item->setExpanded(true);
  }
  QStringList errors;
  for (const CsvRowError& error : plan.errors) errors.append(error.Text());
  MemoDetail->setPlainText(errors.join('\n'));

  QString summary = plan.Summary();
  if (!plan.ok()) {
    summary += QStringLiteral("。誤りのある行を直してから取り込んでください（何も変更しません）。");
  } else if (plan.warnings > 0) {
    summary += QStringLiteral("。表計算ソフトが書き換えたようなセルがあります。確かめてから取り込んでください。");
  } else {
    summary += QStringLiteral("。OKで取り込みます。");
  }
  LabelSummary->setText(summary);
  CheckAcceptWarnings->setChecked(false);
  CheckAcceptWarnings->setVisible(plan.ok() && plan.warnings > 0);
  UpdateOk();
  (ButtonOk->isEnabled() ? ButtonOk : ButtonCancel)->setFocus();
}

void TFCsvImport::AddChanges(QTreeWidgetItem* item) {
  if (!plan_ || item->childCount() > 0 || item->parent()) return;
  const QVariant index = item->data(kRow, kRowRole);
  if (!index.isValid()) return;
  for (const CsvCellChange& change : plan_->rows[index.toInt()].changes) {
    auto* child = new QTreeWidgetItem({QString(), QString(), ChangeText(change)});
    child->setToolTip(kOutcome, ChangeText(change));
    if (!change.warning.isEmpty()) child->setForeground(kOutcome, QBrush(kWarningColor));
    item->addChild(child);
  }
}

void TFCsvImport::ShowDetail(QTreeWidgetItem* item) {
  if (!plan_ || !item) return;
  if (item->parent()) item = item->parent();
  if (const QVariant index = item->data(kRow, kRowRole); index.isValid()) {
    MemoDetail->setPlainText(RowDetail(plan_->rows[index.toInt()]));
  } else if (const QVariant error = item->data(kRow, kFileErrorRole); error.isValid()) {
    MemoDetail->setPlainText(plan_->errors[error.toInt()].Text());
  }
}

void TFCsvImport::UpdateOk() {
  const bool ok = plan_ && plan_->ok();
  ButtonOk->setEnabled(ok && (plan_->warnings == 0 || CheckAcceptWarnings->isChecked()));
}
