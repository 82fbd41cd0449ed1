// The CSV commands of the main window: the strips to a spreadsheet file and
// a spreadsheet's rows back into strips, previewed first and made as one
// undo step.
#include <QDateTime>
#include <QDir>
#include <QTreeWidget>
#include <algorithm>
#include <climits>

#include "app/Main.h"
#include "base/Mainsub.h"
#include "base/LineIO.h"
#include "base/ProgressDialog.h"
#include "base/Prompts.h"
#include "document/Csvimport.h"
#include "document/EntryFields.h"
#include "document/StripCsv.h"
#include "view/StripGeometry.h"

namespace {

// A CSV dialog beside the data file, named after it.
FileDialogSpec CsvDialog(const QString& title, const QString& filter, const QString& dataFile) {
  FileDialogSpec form;
  form.title = title;
  form.filter = filter;
  form.defaultExtension = QStringLiteral("csv");
  PlaceBeside(form, dataFile, form.defaultExtension);
  return form;
}

// The file types of the export, in the order of CsvEncoding.
const QString kExportFilter = QStringLiteral(
    "CSVファイル Shift_JIS(*.csv)|*.csv|CSVファイル UTF-8・BOM付き(*.csv)|*.csv");
const QString kImportFilter = QStringLiteral("CSVファイル(*.csv)|*.csv;*.CSV");

// Files of fewer rows are read and planned without a progress dialog.
constexpr int kRowsForProgress = 500;

}  // namespace

void TFMain::ActionFileExportCsvExecute() {
  CommitPendingKey();
  const std::optional<Prompts::ChosenFile> chosen =
      Prompts::Current().SaveFileOfType(CsvDialog(QStringLiteral("CSVに書き出し"), kExportFilter, FileName()));
  if (!chosen) return;
  const CsvEncoding encoding = chosen->type == 1 ? CsvEncoding::kUtf8 : CsvEncoding::kShiftJis;
  QByteArray csv;
  try {
    csv = StripsAsCsv(document_, encoding);
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
    return;
  }
  if (!WriteFileSafely(chosen->path, csv)) {
    Prompts::Error(QStringLiteral("CSVファイルを保存できませんでした。\n%1").arg(QDir::toNativeSeparators(chosen->path)));
  }
}

void TFMain::ActionFileImportCsvExecute() {
  CommitPendingKey();
  const std::optional<QString> path =
      Prompts::Current().OpenFile(CsvDialog(QStringLiteral("CSVから取り込み"), kImportFilter, FileName()));
  if (!path) return;
  QByteArray bytes;
  if (!ReadFileBytes(*path, &bytes)) {
    Prompts::Error(QStringLiteral("CSVファイルを読み込めませんでした。\n%1").arg(QDir::toNativeSeparators(*path)));
    return;
  }
  const CsvImportContext context{settings_->Locations().TemplateFolders(),
                                 RegistrationDate(QDateTime::currentDateTime())};
  // A list of many thousand rows is read and planned on a worker while a
  // progress dialog keeps the windows alive; a short file is done at once.
  CsvImportPlan plan;
  const int lines = static_cast<int>(std::min<qsizetype>(bytes.count('\n'), INT_MAX));
  RunWithProgress(this, {QStringLiteral("CSVから取り込み"), QStringLiteral("CSVの行を調べています (%1 / %2)")},
                  lines >= kRowsForProgress ? lines : 1,
                  [&](Progress& progress) { plan = PlanCsvImport(document_, ReadCsv(bytes), context, progress); });
  if (plan.cancelled) {
    Prompts::Notice(QStringLiteral("CSVの取り込みを中止しました。\n示名条データは変わっていません。"));
    return;
  }
  TFCsvImport preview(this);
  preview.ShowPlan(*path, plan);
  if (preview.exec() != QDialog::Accepted || !plan.ok() || plan.changes.empty()) return;
  HistoryStep step(*this, "CSVから取り込み");
  if (!document_.Apply(plan.changes)) {
    Prompts::Error(QStringLiteral("CSVを取り込めませんでした。示名条データは変わっていません。"));
    return;
  }
  RefillStripList();
  ShowStrip(plan.FirstChangedStrip());
}
