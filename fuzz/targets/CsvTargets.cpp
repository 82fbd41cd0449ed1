// CSV files of strips: any bytes read as CSV and imported into a small site.
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "base/ShiftJis.h"
#include "document/StripCheck.h"
#include "document/StripCsv.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"

namespace {

Lines Key(const QByteArray& number, const Lines& text, const QByteArray& pictureKind = QByteArray()) {
  Lines key{"1", "2", "20", "8", "0", "0", "3", "3", "", "7", "0", "0", "0", "1", number, "2", "1", "17", "6",
            "", "9", "0", "0", "0", "2", "", "", "", "", "", pictureKind, "", QByteArray::number(text.size())};
  return key + text;
}

// Two strips, "201" and "0202", each with an editable, a fixed and a
// picture key.
Lines Site() {
  Lines lines{layout::kFormatVersionLine, "2"};
  for (int n = 1; n <= 2; ++n) {
    lines << SeparatorLine(n) << (n == 1 ? QByteArray("201") : QByteArray("0202"))
          << sjis::Encode(QStringLiteral("営業")) << "" << "2017/03/05 14:07"
          << sjis::Encode(QStringLiteral("Ｔｅシリーズ主装置")) << "T" << "1"
          << Lines{"1", "10", "20", "60", "40", "3"} << Key("1", {sjis::Encode(QStringLiteral("外線"))})
          << Key("-01", {"FIX"}) << Key("2", {}, ".bmp");
  }
  return lines;
}

}  // namespace

int FuzzCsv(const uint8_t* data, size_t size) {
  const CsvTable table = ReadCsv(FuzzBytes(data, size));
  // Every row has its spreadsheet row, in file order; a file of another
  // kind is not read at all.
  FUZZ_ASSERT(table.rowNumbers.size() == table.rows.size());
  for (qsizetype i = 1; i < table.rowNumbers.size(); ++i) FUZZ_ASSERT(table.rowNumbers[i] > table.rowNumbers[i - 1]);
  FUZZ_ASSERT(table.wrongKind.isEmpty() || table.rows.isEmpty());
  StripDocument document;
  document.SetLines(Site());
  const Lines original = document.lines();
  const CsvImportPlan plan = PlanCsvImport(document, table, {QStringList(), "2026/01/01 09:00"});
  FUZZ_ASSERT(plan.ok() || plan.changes.empty());
  // Only rows that are taken list changed cells, and every warning is one of them.
  int warnings = 0;
  for (const CsvRowPlan& row : plan.rows) {
    FUZZ_ASSERT(row.changes.isEmpty() || row.outcome == CsvRowOutcome::kCreate || row.outcome == CsvRowOutcome::kUpdate);
    warnings += row.Warnings();
  }
  FUZZ_ASSERT(warnings == plan.warnings);
  if (plan.changes.empty()) return 0;
  // A valid import makes a sound document, and its inverse the one before.
  FUZZ_ASSERT(document.Apply(plan.changes));
  try {
    CheckDocument(document.lines());
  } catch (const DocumentError&) {
    FUZZ_ASSERT(false);
  }
  FUZZ_ASSERT(document.Apply(Inverse(plan.changes)));
  FUZZ_ASSERT(document.lines() == original);
  return 0;
}
