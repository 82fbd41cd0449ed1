#include "document/Csvimport.h"

#include <QBrush>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

enum Column { kRow, kExtension, kOutcome };

QTreeWidgetItem* RowItem(const QString& row, const QString& extension, const QString& outcome, bool error) {
  auto* item = new QTreeWidgetItem({row, extension, outcome});
  item->setTextAlignment(kRow, Qt::AlignRight | Qt::AlignVCenter);
  if (error) item->setForeground(kOutcome, QBrush(Qt::red));
  return item;
}

}  // namespace

TFCsvImport::TFCsvImport(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FCsvImport"));
  setWindowTitle(QStringLiteral("CSVの取り込み"));
  setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
  resize(640, 420);

  LabelFile = new QLabel(this);
  LabelFile->setObjectName(QStringLiteral("LabelFile"));
  ListViewRows = new QTreeWidget(this);
  ListViewRows->setObjectName(QStringLiteral("ListViewRows"));
  ListViewRows->setHeaderLabels({QStringLiteral("行"), QStringLiteral("内線番号"), QStringLiteral("結果")});
  ListViewRows->setRootIsDecorated(false);
  ListViewRows->setUniformRowHeights(true);
  ListViewRows->setSelectionMode(QAbstractItemView::NoSelection);
  ListViewRows->header()->setStretchLastSection(true);
  ListViewRows->setColumnWidth(kRow, 50);
  ListViewRows->setColumnWidth(kExtension, 110);
  LabelSummary = new QLabel(this);
  LabelSummary->setObjectName(QStringLiteral("LabelSummary"));
  LabelSummary->setWordWrap(true);

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
  layout->addLayout(buttons);
}

void TFCsvImport::ShowPlan(const QString& fileName, const CsvImportPlan& plan) {
  LabelFile->setText(QStringLiteral("取り込むファイル: %1").arg(QFileInfo(fileName).fileName()));
  ListViewRows->clear();
  // Errors of the file and its header have no row of their own.
  for (const CsvRowError& error : plan.errors) {
    const bool ofRow = std::any_of(plan.rows.begin(), plan.rows.end(), [&](const CsvRowPlan& r) { return r.row == error.row; });
    if (ofRow) continue;
    const QString row = error.row > 0 ? QString::number(error.row) : QString();
    ListViewRows->addTopLevelItem(RowItem(row, QString(), error.Detail(), true));
  }
  for (const CsvRowPlan& row : plan.rows) {
    ListViewRows->addTopLevelItem(
        RowItem(QString::number(row.row), row.extension, row.OutcomeText(), row.outcome == CsvRowOutcome::kError));
  }
  QString summary = plan.Summary();
  summary += plan.ok() ? QStringLiteral("。OKで取り込みます。")
                       : QStringLiteral("。誤りのある行を直してから取り込んでください（何も変更しません）。");
  LabelSummary->setText(summary);
  ButtonOk->setEnabled(plan.ok());
  (plan.ok() ? ButtonOk : ButtonCancel)->setFocus();
}
