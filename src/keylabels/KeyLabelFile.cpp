#include "keylabels/KeyLabelFile.h"

#include <QDir>

#include "base/LineIO.h"
#include "document/Series.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/PaletteList.h"

QString KeyLabelFilePath(int series, const QString& folder) {
  if (!IsSeries(series)) return QString();
  return QDir(folder).filePath(KeyLabelFileName(series));
}

namespace {

// Empty lines after the last entry (a file edited by hand often ends in one
// or two) belong to no entry and are dropped; anything else there is left
// for the well-formedness check to refuse.
void DropTrailingEmptyLines(Lines& lines, int series) {
  qsizetype end = 0;
  try {
    end = PaletteListEnd(lines, series);
  } catch (const DocumentError&) {
    return;
  }
  for (qsizetype i = end; i < lines.size(); ++i) {
    if (!lines[i].isEmpty()) return;
  }
  if (end < lines.size()) lines.resize(end);
}

}  // namespace

LabelSource Myfunc_Load_Label(int series, const QString& folder, Lines* list) {
  if (!IsSeries(series)) return LabelSource::Unchanged;
  Lines fileLines;
  // Buttons and dialog expect exactly 3 x n readable entries, so a damaged
  // file is never taken, not even in part.
  const bool read = ReadLinesFile(KeyLabelFilePath(series, folder), &fileLines);
  if (read) DropTrailingEmptyLines(fileLines, series);
  if (read && IsWellFormedPaletteList(fileLines, series)) {
    *list = fileLines;
    return LabelSource::File;
  }
  Myfunc_Set_Default(series, list);
  return LabelSource::Defaults;
}

bool WriteKeyLabelFile(int series, const QString& folder, const Lines& list) {
  if (!IsSeries(series)) return false;
  return WriteLinesFile(KeyLabelFilePath(series, folder), list);
}
