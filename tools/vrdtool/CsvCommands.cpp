// vrdtool export-csv / import-csv: a site's strips to and from a spreadsheet,
// with the same code as the window's commands.
#include <QDateTime>
#include <QFileInfo>
#include <QStringList>
#include <optional>

#include "Commands.h"
#include "base/FileLocations.h"
#include "base/LineIO.h"
#include "document/DataFile.h"
#include "document/EntryFields.h"
#include "document/StripCsv.h"
#include "document/StripDocument.h"

namespace {

constexpr int kDone = 0;
constexpr int kRowErrors = 1;
constexpr int kFailed = 2;

int WrongArguments(const char* command) {
  return Fail(QStringLiteral("vrdtool %1: wrong arguments (see vrdtool %1 --help)").arg(QString::fromUtf8(command)));
}

}  // namespace

int RunExportCsv(const QStringList& arguments) {
  QStringList args = arguments;
  const CsvEncoding encoding = TakeFlag(args, QStringLiteral("--utf8")) ? CsvEncoding::kUtf8 : CsvEncoding::kShiftJis;
  if (args.size() != 2) return WrongArguments("export-csv");
  std::optional<DataFileContent> content = LoadDataFile(args[0]);
  if (!content) return kFailed;
  StripDocument document;
  document.SetLines(content->lines);
  QByteArray csv;
  try {
    csv = StripsAsCsv(document, encoding);
  } catch (const DocumentError& e) {
    PrintLine(QStringLiteral("%1:%2: %3").arg(args[0]).arg(content->FileLineOf(e.Line()) + 1).arg(e.Expected()));
    return kRowErrors;
  }
  if (!WriteFileSafely(args[1], csv)) return Fail(QStringLiteral("vrdtool: %1: cannot write the file").arg(args[1]));
  return kDone;
}

int RunImportCsv(const QStringList& arguments) {
  QStringList args = arguments;
  const bool dryRun = TakeFlag(args, QStringLiteral("--dry-run"));
  const bool acceptWarnings = TakeFlag(args, QStringLiteral("--accept-warnings"));
  const std::optional<QString> output = TakeOption(args, QStringLiteral("--output"));
  const std::optional<QString> folder = TakeOption(args, QStringLiteral("--dir"));
  if (args.size() != 2 || (output && output->isEmpty()) || (folder && folder->isEmpty())) {
    return WrongArguments("import-csv");
  }
  const QString& dataFile = args[0];
  const QString& csvFile = args[1];
  // A data file that does not exist yet is a new site: its strips all come
  // from the list.
  StripDocument document;
  if (QFileInfo::exists(dataFile)) {
    std::optional<DataFileContent> content = LoadDataFile(dataFile);
    if (!content) return kFailed;
    document.SetLines(content->lines);
  }
  QByteArray bytes;
  if (!ReadFileBytes(csvFile, &bytes)) return Fail(QStringLiteral("vrdtool: %1: cannot read the file").arg(csvFile));

  const CsvImportContext context{folder ? QStringList{*folder} : FileLocations::ForThisProgram().TemplateFolders(),
                                 RegistrationDate(QDateTime::currentDateTime())};
  const CsvImportPlan plan = PlanCsvImport(document, ReadCsv(bytes), context);
  for (const CsvRowPlan& row : plan.rows) {
    if (dryRun) PrintLine(QStringLiteral("%1\t%2\t%3").arg(row.row).arg(row.extension, row.OutcomeText()));
    for (const CsvCellChange& change : row.changes) {
      if (dryRun) PrintLine(QStringLiteral("\t\t%1").arg(change.Text()));
      if (!change.warning.isEmpty()) {
        PrintLine(QStringLiteral("%1: %2行目 %3 ［警告］%4").arg(csvFile).arg(row.row).arg(change.Text(), change.warning));
      }
    }
  }
  for (const CsvRowError& error : plan.errors) PrintLine(QStringLiteral("%1: %2").arg(csvFile, error.Text()));
  PrintLine(plan.Summary());
  if (!plan.ok()) return kRowErrors;
  if (plan.warnings > 0 && !acceptWarnings) {
    PrintLine(QStringLiteral("表計算ソフトが書き換えたようなセルがあります（何も変更していません）。"
                             "確かめたうえでこのまま取り込むときは --accept-warnings を付けてください"));
    return kRowErrors;
  }
  if (dryRun) return kDone;

  const QString target = output.value_or(dataFile);
  if (plan.changes.empty() && !output) return kDone;  // nothing to rewrite
  if (!document.Apply(plan.changes)) return Fail(QStringLiteral("vrdtool: %1: the changes do not fit").arg(dataFile));
  if (document.isEmpty()) return kDone;  // a new file without strips is not written, as saving writes none
  if (!WriteDataFile(target, document.lines())) {
    return Fail(QStringLiteral("vrdtool: %1: cannot write the file").arg(target));
  }
  return kDone;
}
