#pragma once
// Creating strips: a new strip block at the end of the strip document, built
// from the template of its strip type or with the groups and keys of another
// strip. The document is checked before anything changes: on any failure
// an "エラー" message is shown and the document stays as it was.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "document/StripDocument.h"
#include "document/StripRow.h"

// What the entry dialog hands back (its result fields), as Shift_JIS bytes.
struct StripEntry {
  QByteArray seriesName;
  QByteArray stripType;
  QByteArray extension;
  QByteArray department;
  QByteArray userName;
  QByteArray copySource;  // a copy-source text, or the "no copy" choice
  QByteArray registered;  // "yyyy/mm/dd hh:nn"
};

// The first choice of the copy-source list: build from the template.
inline constexpr char kNoCopySourceText[] = "登録済み使用者情報を使用しない";
inline constexpr char kMissingTemplateText[] = "テンプレートが存在しません。";

// How a strip is named in the copy-source list: extension + " 使用者名：" + user name.
QByteArray CopySourceText(const QByteArray& extension, const QByteArray& userName);
QByteArray CopySourceText(const StripRow& row);
// The strip number of the first row whose copy-source text equals
// `copySource`; 0 when none does (the "no copy" choice matches no row).
int FindCopySource(const QList<StripRow>& rows, const QByteArray& copySource);

// The list row of a strip created or edited from `entry`.
StripRow RowOfEntry(const StripEntry& entry, int number);

// The lines of a new strip from its group count on, built from the template
// of `stripType` found in `templateFolders`, or the message why there are none (the
// template is missing, cannot be read, is damaged, or its check finds an
// error: the first error's text is given).
struct TemplateBody {
  std::optional<Lines> lines;
  QString error;
};
TemplateBody LoadTemplateBody(const QStringList& templateFolders, const QByteArray& stripType);

// A strip block: the separator line of strip `number`, the header lines of
// `entry`, then `body` (the strip's lines from its group count on).
Lines NewStripBlock(int number, const StripEntry& entry, const Lines& body);

// A document of one strip (start line 3) of a template's type: the series
// and type as given, empty header fields otherwise, keys as a new strip
// has them. For previews and test prints of a template.
class StripTemplate;
Lines DocumentOfTemplate(const StripTemplate& model, const QByteArray& seriesName, const QByteArray& stripType);

// Appends a strip built from the template of entry.stripType found in
// `templateFolders` and returns its strip start line. A missing template
// ("テンプレートが存在しません。"), a damaged template or a damaged document
// header gives a message and nothing.
std::optional<qsizetype> NewStripFromTemplate(StripDocument& document, const StripEntry& entry,
                                              const QStringList& templateFolders);

// Appends a strip with the header of `entry` and a copy of every line of
// strip `source` from its group count to its end, and returns its strip
// start line. A source that cannot be found gives a message and nothing.
std::optional<qsizetype> NewStripFromCopy(StripDocument& document, const StripEntry& entry,
                                          int source);

// The new-strip command after the dialog's OK: a copy when the entry's
// copy-source text names one of `rows`, otherwise from the template. The new
// strip is the last; its number is the document's strip count.
std::optional<qsizetype> CreateStrip(StripDocument& document, const StripEntry& entry,
                                     const QList<StripRow>& rows, const QStringList& templateFolders);
