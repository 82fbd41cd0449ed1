// CSV import of big lists: an installer's list of 50,000 new strips (a
// 48-key template each) into an empty site, and a spreadsheet's edit of
// 2,000 strips of 48 keys. For each the time to read and plan, to apply,
// and the peak memory of the import beyond the document it starts from,
// against the size of the strips it makes (their bytes in the data file).
// Wall time on a shared machine waits for the other jobs; the CPU time is
// the import's own. Each case runs in a process of its own, so no run reuses another's freed
// memory. `bench_csv_import new|edit [ROWS]` runs one case.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>
#include <ctime>

#include "GenerateStrips.h"
#include "Memory.h"
#include "document/StripCsv.h"
#include "document/StripDocument.h"

namespace {

using bench::ResetPeak;
using bench::StatusMiB;

double FileMiB(const Lines& lines, qsizetype from) {
  qsizetype bytes = 0;
  for (qsizetype i = from; i < lines.size(); ++i) bytes += lines[i].size() + 2;
  return bytes / 1048576.0;
}

// An installer's list: number, department, user, series, type, two keys.
QByteArray NewStripsList(int rows) {
  QList<QList<QByteArray>> csv{{sjis::Encode(QStringLiteral("内線番号")), sjis::Encode(QStringLiteral("部署")),
                                sjis::Encode(QStringLiteral("使用者名")), sjis::Encode(QStringLiteral("主装置のシリーズ")),
                                sjis::Encode(QStringLiteral("示名条のタイプ")), sjis::Encode(QStringLiteral("キー1")),
                                sjis::Encode(QStringLiteral("キー2"))}};
  const QByteArray department = sjis::Encode(QStringLiteral("営業部"));
  const QByteArray series = sjis::Encode(QStringLiteral("Ｋａシリーズ主装置"));
  const QByteArray type = sjis::Encode(QStringLiteral("Ｋａ拡張48ボタン"));
  for (int r = 0; r < rows; ++r) {
    csv.append({QByteArray::number(100000 + r), department, sjis::Encode(QStringLiteral("使用者%1").arg(r)), series, type,
                sjis::Encode(QStringLiteral("外線%1").arg(r % 100)), sjis::Encode(QStringLiteral("内線"))});
  }
  return WriteCsv(csv, CsvEncoding::kShiftJis);
}

// The export of `document` with every strip's department and keys 1 and 30
// changed, as a spreadsheet writes it back.
QByteArray EditedExport(const StripDocument& document) {
  const CsvTable table = ReadCsv(StripsAsCsv(document, CsvEncoding::kShiftJis));
  QList<QList<QByteArray>> rows;
  for (qsizetype r = 0; r < table.rows.size(); ++r) {
    QStringList cells = table.rows[r];
    if (r > 0) {
      cells[1] = QStringLiteral("総務部");
      cells[6] = QStringLiteral("代表\n内線%1").arg(r);
      cells[35] = QStringLiteral("ＦＡＸ");
    }
    QList<QByteArray> row;
    for (const QString& cell : cells) row.append(sjis::Encode(cell));
    rows.append(row);
  }
  return WriteCsv(rows, CsvEncoding::kShiftJis);
}

int RunCase(const QString& which, int rows) {
  StripDocument document;
  QByteArray csv;
  if (which == QStringLiteral("new")) {
    csv = NewStripsList(rows);
  } else {
    document.SetLines(bench::GeneratedDocument(rows));
    csv = EditedExport(document);
  }
  const CsvImportContext context{{QStringLiteral(SOURCE_DIR "/data")}, "2026/01/01 09:00"};
  const qsizetype linesBefore = document.size();
  ResetPeak();
  const double start = StatusMiB("VmRSS:");
  QElapsedTimer timer;
  timer.start();
  std::clock_t cpu = std::clock();
  CsvImportPlan plan = PlanCsvImport(document, ReadCsv(csv), context);
  const double planned = timer.elapsed() / 1000.0;
  const double plannedCpu = double(std::clock() - cpu) / CLOCKS_PER_SEC;
  const double planPeak = StatusMiB("VmHWM:") - start;
  timer.restart();
  cpu = std::clock();
  const bool applied = document.Apply(plan.changes);
  const double applyTime = timer.elapsed() / 1000.0;
  const double applyCpu = double(std::clock() - cpu) / CLOCKS_PER_SEC;
  plan = CsvImportPlan();
  const double peak = StatusMiB("VmHWM:") - start;
  const double made = which == QStringLiteral("new") ? FileMiB(document.lines(), linesBefore) : 0;
  std::printf("%-5s %6d rows, CSV %5.2f MB: read+plan %6.2f s (CPU %5.2f s, peak %7.1f MiB), "
              "apply %5.2f s (CPU %5.2f s, peak %7.1f MiB)%s\n",
              qPrintable(which), rows, csv.size() / 1048576.0, planned, plannedCpu, planPeak, applyTime, applyCpu, peak,
              applied ? "" : " FAILED");
  if (made > 0) {
    std::printf("      strips made: %.1f MiB in the data file, %.1f MiB in memory after; peak / file size %.2f\n", made,
                StatusMiB("VmRSS:") - start, peak / made);
  }
  return applied ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc >= 2) return RunCase(QString::fromLatin1(argv[1]), argc >= 3 ? QString::fromLatin1(argv[2]).toInt() : 0);
  for (const QStringList& args : {QStringList{"new", "5000"}, QStringList{"new", "50000"}, QStringList{"edit", "2000"}}) {
    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedChannels);
    run.start(QCoreApplication::applicationFilePath(), args);
    run.waitForFinished(-1);
  }
  return 0;
}
