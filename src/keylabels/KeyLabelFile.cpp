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

LabelSource Myfunc_Load_Label(int series, const QString& folder, Lines* list) {
  if (!IsSeries(series)) return LabelSource::Unchanged;
  Lines fileLines;
  // Buttons and dialog expect exactly 3 x n readable entries, so a damaged
  // file is never taken, not even in part.
  if (ReadLinesFile(KeyLabelFilePath(series, folder), &fileLines) &&
      IsWellFormedPaletteList(fileLines, series)) {
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
