#include "document/StripCreation.h"

#include <QFileInfo>
#include <climits>

#include "base/LineIO.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/StripTemplate.h"
#include "document/Template.h"
#include "document/TemplateCheck.h"

namespace {

QString DocumentErrorText(const DocumentError& error, qsizetype lineCount) {
  if (error.Line() >= lineCount) return QStringLiteral("示名条データが途中で終わっています。");
  return QStringLiteral("示名条データの%1行目に誤りがあります（%2が必要です）。")
      .arg(error.Line() + 1)
      .arg(error.Expected());
}

// The number the next strip gets; DocumentError when the count line is
// damaged. Read before anything changes.
int NextStripNumber(const StripDocument& document) {
  if (document.isEmpty()) return 1;
  const int count = document.StripCount();
  if (count == INT_MAX) throw DocumentError(1, QStringLiteral("示名条の数"));
  return count + 1;
}

Lines HeaderLines(const StripEntry& entry) {
  return {entry.extension, entry.department, entry.userName,
          entry.registered, entry.seriesName, entry.stripType};
}

// Appends strip `number` with the entry's header and `body` (its lines from
// the group count on); the format version and count lines first when the
// document is empty. Returns the strip start line.
qsizetype AppendStrip(StripDocument& document, int number, const StripEntry& entry,
                      const Lines& body) {
  if (document.isEmpty()) {
    document.Append(Lines{layout::kFormatVersionLine, "1"});
  } else {
    document.Replace(1, QByteArray::number(number));
  }
  const qsizetype start = document.size() + 1;
  document.Append(NewStripBlock(number, entry, body));
  return start;
}

}  // namespace

QByteArray CopySourceText(const QByteArray& extension, const QByteArray& userName) {
  static const QByteArray separator = sjis::Encode(QStringLiteral(" 使用者名："));
  return extension + separator + userName;
}

QByteArray CopySourceText(const StripRow& row) { return CopySourceText(row.extension, row.userName); }

int FindCopySource(const QList<StripRow>& rows, const QByteArray& copySource) {
  for (qsizetype i = 0; i < rows.size(); ++i) {
    if (CopySourceText(rows[i]) == copySource) return static_cast<int>(i) + 1;
  }
  return 0;
}

StripRow RowOfEntry(const StripEntry& entry, int number) {
  StripRow row;
  row.number = number;
  row.series = entry.seriesName;
  row.stripType = entry.stripType;
  row.extension = entry.extension;
  row.department = entry.department;
  row.userName = entry.userName;
  row.registered = entry.registered;
  return row;
}

Lines NewStripBlock(int number, const StripEntry& entry, const Lines& body) {
  Lines block{SeparatorLine(number)};
  block << HeaderLines(entry) << body;
  return block;
}

TemplateBody LoadTemplateBody(const QStringList& templateFolders, const QByteArray& stripType) {
  const QString path = FindTemplateFile(templateFolders, sjis::Decode(stripType));
  if (path.isEmpty()) return {std::nullopt, QString::fromUtf8(kMissingTemplateText)};
  const QString fileName = QFileInfo(path).fileName();
  QByteArray bytes;
  if (!ReadFileBytes(path, &bytes)) {
    return {std::nullopt, QStringLiteral("テンプレート「%1」を読み込めません。").arg(fileName)};
  }
  const Lines templateLines = SplitLines(bytes);
  try {
    // The counts first, with the messages strip creation has always given.
    StripBodyFromTemplate(templateLines);
  } catch (const DocumentError& error) {
    return {std::nullopt, TemplateErrorText(fileName, templateLines.size(), error)};
  }
  // Then every fault that keeps a strip from being made or drawn.
  const QList<TemplateFault> faults = CheckTemplateBytes(bytes, stripType);
  if (const TemplateFault* error = FirstTemplateError(faults)) {
    return {std::nullopt, QStringLiteral("テンプレート「%1」は使えません。%2").arg(fileName, error->Text())};
  }
  return {StripBodyOf(*ReadTemplate(templateLines).model), QString()};
}

Lines DocumentOfTemplate(const StripTemplate& model, const QByteArray& seriesName, const QByteArray& stripType) {
  StripEntry entry;
  entry.seriesName = seriesName;
  entry.stripType = stripType;
  Lines document{layout::kFormatVersionLine, "1"};
  document << NewStripBlock(1, entry, StripBodyOf(model));
  return document;
}

std::optional<qsizetype> NewStripFromTemplate(StripDocument& document, const StripEntry& entry,
                                              const QStringList& templateFolders) {
  const TemplateBody body = LoadTemplateBody(templateFolders, entry.stripType);
  if (!body.lines) {
    Prompts::Error(body.error);
    return std::nullopt;
  }
  try {
    return AppendStrip(document, NextStripNumber(document), entry, *body.lines);
  } catch (const DocumentError& error) {
    Prompts::Error(DocumentErrorText(error, document.size()));
    return std::nullopt;
  }
}

std::optional<qsizetype> NewStripFromCopy(StripDocument& document, const StripEntry& entry,
                                          int source) {
  const qsizetype separator = document.FindStrip(source);
  if (separator < 1) {
    Prompts::Error(QStringLiteral("複製元の示名条が見つかりません。"));
    return std::nullopt;
  }
  try {
    // The end is noted before anything is appended: copying the last strip
    // must not copy the new lines as well.
    const qsizetype from = separator + 1 + layout::kGroupCount;
    const qsizetype end = document.EndOfStrip(source);
    if (from >= end) throw DocumentError(from, QStringLiteral("グループ数"));
    const Lines body = document.lines().mid(from, end - from);
    return AppendStrip(document, NextStripNumber(document), entry, body);
  } catch (const DocumentError& error) {
    Prompts::Error(DocumentErrorText(error, document.size()));
    return std::nullopt;
  }
}

std::optional<qsizetype> CreateStrip(StripDocument& document, const StripEntry& entry,
                                     const QList<StripRow>& rows, const QStringList& templateFolders) {
  const int source = FindCopySource(rows, entry.copySource);
  if (source > 0) return NewStripFromCopy(document, entry, source);
  return NewStripFromTemplate(document, entry, templateFolders);
}
