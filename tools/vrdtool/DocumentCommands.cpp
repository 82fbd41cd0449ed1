// vrdtool info / check / convert: data files read exactly as the program
// opens them and written exactly as it saves them.
#include <QStringList>
#include <optional>

#include "Commands.h"
#include "document/DataFile.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"
#include "document/StripRow.h"

namespace {

constexpr int kDone = 0;
constexpr int kDamaged = 1;
constexpr int kFailed = 2;

bool HasArguments(const QStringList& args, int count, const char* command) {
  if (args.size() == count) return true;
  PrintError(QStringLiteral("vrdtool %1: wrong number of arguments (see vrdtool %1 --help)")
                 .arg(QString::fromUtf8(command)));
  return false;
}

// A header text as one tab-separated field.
QString Field(const QString& text) {
  QString field = text;
  return field.replace(QLatin1Char('\t'), QLatin1Char(' '));
}

}  // namespace

int RunInfo(const QStringList& args) {
  if (!HasArguments(args, 1, "info")) return kFailed;
  std::optional<DataFileContent> content = LoadDataFile(args[0]);
  if (!content) return kFailed;
  StripDocument document;
  document.SetLines(std::move(content->lines));
  for (const StripRow& row : StripRowsOf(document)) {
    QStringList fields{QString::number(row.number)};
    for (const QString& column : row.Columns()) fields.append(Field(column));
    PrintLine(fields.join(QLatin1Char('\t')));
  }
  return kDone;
}

int RunCheck(const QStringList& args) {
  if (!HasArguments(args, 1, "check")) return kFailed;
  std::optional<DataFileContent> content = LoadDataFile(args[0]);
  if (!content) return kFailed;
  try {
    const DocumentTotals totals = CheckDocument(content->lines);
    PrintLine(QStringLiteral("ok: %1 strips, %2 keys").arg(totals.strips).arg(totals.keys));
    return kDone;
  } catch (const DocumentError& e) {
    PrintLine(QStringLiteral("%1:%2: %3").arg(args[0]).arg(content->FileLineOf(e.Line()) + 1).arg(e.Expected()));
    return kDamaged;
  }
}

int RunConvert(const QStringList& arguments) {
  QStringList args = arguments;
  const bool force = TakeFlag(args, QStringLiteral("--force"));
  if (!HasArguments(args, 2, "convert")) return kFailed;
  std::optional<DataFileContent> content = LoadDataFile(args[0]);
  if (!content) return kFailed;
  if (!MayRewrite(args[1], force)) return kFailed;
  if (!WriteDataFile(args[1], content->lines)) {
    PrintError(QStringLiteral("vrdtool: %1: cannot write the file").arg(args[1]));
    return kFailed;
  }
  return kDone;
}

// The file as Open reads it, or nothing after one line on stderr.
std::optional<DataFileContent> LoadDataFile(const QString& path) {
  DataFileContent content = ReadDataFile(path);
  switch (content.status) {
    case DataFileContent::Status::kOk:
      return content;
    case DataFileContent::Status::kReadError:
      PrintError(QStringLiteral("vrdtool: %1: cannot read the file").arg(path));
      break;
    case DataFileContent::Status::kFormatError:
      PrintError(QStringLiteral("vrdtool: %1:%2: not a strip data file (%3)")
                     .arg(path)
                     .arg(content.errorLine + 1)
                     .arg(content.expected));
      break;
  }
  return std::nullopt;
}
