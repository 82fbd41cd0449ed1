// The data file and the old layout: parsing, the strip list rows, the check,
// and the list commands on what was read.
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "base/LineIO.h"
#include "base/SharedLines.h"
#include "document/DataFile.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"
#include "document/StripList.h"
#include "document/StripRow.h"

namespace {

bool IsSound(const Lines& lines) {
  try {
    CheckDocument(lines);
    return true;
  } catch (const DocumentError&) {
    return false;
  }
}

}  // namespace

int FuzzDataFile(const uint8_t* data, size_t size) {
  const QByteArray bytes = FuzzBytes(data, size);
  // The lines that share the file's buffer are the lines of the plain split.
  FUZZ_ASSERT(SplitLinesSharing(bytes) == SplitLines(bytes));
  const DataFileContent content = ParseDataFile(bytes);
  if (!content.ok()) return 0;
  // Written back, the lines read the same.
  FUZZ_ASSERT(SplitLines(JoinLines(content.lines)) == content.lines);
  StripDocument document;
  document.SetLines(content.lines);
  document.MarkSaved();
  QList<StripRow> rows;
  try {
    rows = StripRowsOf(document);
  } catch (const DocumentError&) {
    return 0;
  }
  // Rows come from the separators the file holds, never from the count.
  FUZZ_ASSERT(static_cast<size_t>(rows.size()) <= document.StripSeparators().size());
  for (const StripRow& row : rows) FUZZ_ASSERT(document.FindStrip(row.number) >= 2);
  const bool sound = IsSound(document.lines());
  // A sound file always agrees with its own list.
  if (sound) FUZZ_ASSERT(StripListViolation(document, rows).isEmpty());
  if (rows.isEmpty()) return 0;
  FUZZ_ASSERT(WriteStripHeader(document, rows[0].number, rows[0]) || !sound);
  FUZZ_ASSERT(!sound || !document.IsChanged());
  // Deleting from a sound file leaves a sound file (or none at all).
  StripDocument copy = document;
  DeleteStripRows(copy, {0}, 0);
  if (sound) FUZZ_ASSERT(IsSound(copy.lines()));
  DeleteStripRows(document, {static_cast<int>(rows.size()) - 1, 1}, 1);
  if (sound) FUZZ_ASSERT(IsSound(document.lines()));
  return 0;
}

int FuzzOldLayout(const uint8_t* data, size_t size) {
  const Lines old = SplitLines(FuzzBytes(data, size));
  QList<qsizetype> inserted;
  Lines converted;
  try {
    converted = ConvertedFromOldLayout(old, &inserted);
  } catch (const DocumentError& e) {
    FUZZ_ASSERT(e.Line() >= 0 && e.Line() <= old.size());
    return 0;
  }
  // The conversion only adds lines: without them the old lines are back.
  FUZZ_ASSERT(converted.size() == old.size() + inserted.size());
  Lines back = converted;
  for (qsizetype i = inserted.size() - 1; i >= 0; --i) back.removeAt(inserted[i]);
  FUZZ_ASSERT(back == old);
  IsSound(converted);
  return 0;
}
