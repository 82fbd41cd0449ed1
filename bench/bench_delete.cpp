// Deleting half the strips of a large data file: 500 of 1,000 strips (and
// 1,000 of 2,000) of 48 keys, rows picked at random with a fixed seed. The
// delete must finish within one second at 1,000 strips.
#include <QCoreApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <vector>

#include "GenerateStrips.h"
#include "document/StripDocument.h"
#include "document/StripList.h"
#include "document/StripRow.h"

namespace {

// `count` distinct rows out of `rows`, the same ones on every run.
QList<int> RandomRows(int rows, int count) {
  std::vector<int> all(rows);
  std::iota(all.begin(), all.end(), 0);
  QRandomGenerator random(20240401);
  std::shuffle(all.begin(), all.end(), random);
  return QList<int>(all.begin(), all.begin() + count);
}

struct Figures {
  qsizetype lines = 0;
  double fastestMs = 0;
  double slowestMs = 0;
  bool sound = false;
};

// Each run deletes from a fresh copy of the document; only the delete is
// timed. The fastest run is the one least disturbed by others on a shared
// machine; the slowest is printed too.
Figures Measure(int strips, int deleted, int runs = 7) {
  const Lines lines = bench::GeneratedDocument(strips);
  const QList<int> rows = RandomRows(strips, deleted);
  Figures f;
  f.lines = lines.size();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    StripDocument document;
    document.SetLines(lines);
    document.MarkSaved();
    QList<StripRow> listed = StripRowsOf(document);
    const auto start = std::chrono::steady_clock::now();
    const StripDeletion deletion = DeleteStripRows(document, rows, rows.front());
    const auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    if (i == 0) {
      for (int r : deletion.removedRows) listed.removeAt(r);
      const QString violation = StripListViolation(document, listed);
      f.sound = violation.isEmpty() && deletion.stripsLeft == strips - deleted;
      if (!f.sound) std::fprintf(stderr, "bench_delete: %s\n", qPrintable(violation));
    }
  }
  std::sort(times.begin(), times.end());
  f.fastestMs = times.front();
  f.slowestMs = times.back();
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const Figures small = Measure(1000, 500);
  const Figures large = Measure(2000, 1000);
  std::printf("%-36s %10s %12s %12s %s\n", "DeleteStripRows, 7 runs", "lines", "fastest ms", "slowest ms",
              "list check");
  auto row = [](const char* name, const Figures& f) {
    std::printf("%-36s %10lld %12.2f %12.2f %s\n", name, static_cast<long long>(f.lines), f.fastestMs,
                f.slowestMs, f.sound ? "ok" : "FAILED");
  };
  row("500 of 1,000 strips (48 keys each)", small);
  row("1,000 of 2,000 strips", large);
  std::printf("2,000 / 1,000: %.2f\n", large.fastestMs / small.fastestMs);
  std::printf("500 of 1,000 within one second: %s\n", small.slowestMs < 1000 ? "yes" : "NO");
  return small.sound && large.sound ? 0 : 1;
}
