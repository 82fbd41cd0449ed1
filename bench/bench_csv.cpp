// CSV export and import of a 2,000-strip file of 48 keys: the export in
// both encodings; the import of the unchanged export (every row read,
// matched and compared); and the import of a spreadsheet's edit that
// changes every strip (a department and two key texts, one of them a line
// longer), planned and applied, and undone.
#include <QCoreApplication>
#include <cstdio>

#include "GenerateStrips.h"
#include "Timing.h"
#include "document/StripCsv.h"
#include "document/StripDocument.h"

namespace {

constexpr int kStrips = 2000;

// The export with every strip's department and keys 1 and 30 changed, as
// a spreadsheet writes it back in UTF-8.
QByteArray EditedEverywhere(const CsvTable& table) {
  QList<QList<QByteArray>> rows;
  for (qsizetype r = 0; r < table.rows.size(); ++r) {
    QStringList cells = table.rows[r];
    if (r > 0) {
      cells[1] = QStringLiteral("総務部");
      cells[6] = QStringLiteral("代表\n内線%1\n夜間").arg(r);
      cells[35] = QStringLiteral("ＦＡＸ");
    }
    QList<QByteArray> row;
    for (const QString& cell : cells) row.append(sjis::Encode(cell));
    rows.append(row);
  }
  return WriteCsv(rows, CsvEncoding::kUtf8);
}

void Report(const char* what, double ms) { std::printf("%-58s %8.1f ms\n", what, ms); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  StripDocument document;
  document.SetLines(bench::GeneratedDocument(kStrips));
  const CsvImportContext context{QStringList(), "2026/01/01 09:00"};

  QByteArray exported;
  Report("export, Shift_JIS", bench::FastestMilliseconds([&] { exported = StripsAsCsv(document, CsvEncoding::kShiftJis); }));
  Report("export, UTF-8", bench::FastestMilliseconds([&] { StripsAsCsv(document, CsvEncoding::kUtf8); }));
  std::printf("  %d strips, %lld lines, CSV of %lld bytes\n", kStrips, static_cast<long long>(document.size()),
              static_cast<long long>(exported.size()));

  CsvImportPlan plan;
  Report("import of the unchanged export (read, plan)",
         bench::FastestMilliseconds([&] { plan = PlanCsvImport(document, ReadCsv(exported), context); }));
  std::printf("  %s, %zu changes\n", plan.Summary().toUtf8().constData(), plan.changes.size());

  const QByteArray edited = EditedEverywhere(ReadCsv(exported));
  Report("import of an edit of every strip (read, plan)",
         bench::FastestMilliseconds([&] { plan = PlanCsvImport(document, ReadCsv(edited), context); }));
  std::printf("  %s, %zu changes\n", plan.Summary().toUtf8().constData(), plan.changes.size());
  const Lines original = document.lines();
  const ChangeSet inverse = Inverse(plan.changes);
  Report("  applied", bench::FastestMilliseconds([&] { document.Apply(plan.changes); },
                                                 [&] { document.SetLines(original); }));
  Report("  undone", bench::FastestMilliseconds([&] { document.Apply(inverse); },
                                                [&] {
                                                  document.SetLines(original);
                                                  document.Apply(plan.changes);
                                                }));
  document.SetLines(original);
  const bool applied = document.Apply(plan.changes);
  const bool undone = document.Apply(inverse);
  std::printf("  applied %d, undone %d, back to the original %d\n", applied, undone, document.lines() == original);
  document.SetLines(original);
  Report("import of an edit of every strip, read to applied", bench::FastestMilliseconds([&] {
           const CsvImportPlan p = PlanCsvImport(document, ReadCsv(edited), context);
           document.Apply(p.changes);
         }, [&] { document.SetLines(original); }));
  return 0;
}
