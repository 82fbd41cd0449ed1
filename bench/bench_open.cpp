// Opening, saving and strip lookup on large data files (1,000 and 2,000
// strips of 48 keys). Opening must cost no more than three times reading and
// splitting the bytes, and grow linearly with the file.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "GenerateStrips.h"
#include "Timing.h"
#include "base/LineIO.h"
#include "document/DataFile.h"
#include "document/FileSession.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"

namespace {

// The strip list as the main window fills it: every row's texts decoded.
class ListOnlyView : public FileSessionView {
 public:
  void CommitPendingKey() override {}
  void ClearStripList() override { rows.clear(); }
  void AddStripRow(const StripRow& row) override { rows.append(row.Columns()); }
  int StripRowCount() const override { return static_cast<int>(rows.size()); }
  void ClearStripView() override {}
  void ShowFirstStrip() override {}
  QList<QStringList> rows;
};

struct Figures {
  double readCount = 0;
  double readSplit = 0;
  double open = 0;
  double openOld = 0;
  double save = 0;
  double check = 0;
  double index = 0;
  double rows = 0;
  double lookupNs = 0;
  double lookupDamagedNs = 0;
};

// Nanoseconds per FindStrip over every strip, repeated.
double LookupNanoseconds(const StripDocument& document, int strips) {
  const int rounds = 200;
  qsizetype sum = 0;
  const double ms = bench::FastestMilliseconds([&] {
    for (int r = 0; r < rounds; ++r) {
      for (int n = 1; n <= strips; ++n) sum += document.FindStrip(n);
    }
  }, {}, 3);
  if (sum == 42) std::puts("");  // keeps the loop from being dropped
  return ms * 1e6 / (static_cast<double>(rounds) * strips);
}

Figures Measure(int strips, const QTemporaryDir& dir) {
  const QString path = dir.filePath(QStringLiteral("bench%1.VRD").arg(strips));
  const QString oldPath = dir.filePath(QStringLiteral("bench%1_old.VRD").arg(strips));
  const QString savePath = dir.filePath(QStringLiteral("saved%1.VRD").arg(strips));
  WriteDataFile(path, bench::GeneratedDocument(strips));
  WriteDataFile(oldPath, bench::GeneratedDocument(strips, true));

  Figures f;
  // The least any open can do: read the bytes and find every line end.
  qsizetype counted = 0;
  f.readCount = bench::FastestMilliseconds([&] {
    QByteArray bytes;
    ReadFileBytes(path, &bytes);
    counted = 0;
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p))) {
      ++counted;
      p = static_cast<const char*>(lf) + 1;
    }
  });
  if (counted == 0) std::fprintf(stderr, "bench_open: no line counted\n");
  // Like open, each run replaces the lines of the run before.
  Lines split;
  f.readSplit = bench::FastestMilliseconds([&] {
    QByteArray bytes;
    ReadFileBytes(path, &bytes);
    split = SplitLines(bytes);
  });
  split.clear();

  StripDocument document;
  ListOnlyView view;
  FileSession session(document, view);
  auto open = [&](const QString& file) {
    if (!session.OpenFile(file) || view.StripRowCount() != strips) {
      std::fprintf(stderr, "bench_open: %s did not open\n", qPrintable(file));
    }
  };
  f.open = bench::FastestMilliseconds([&] { open(path); });
  f.openOld = bench::FastestMilliseconds([&] { open(oldPath); });
  open(path);
  f.save = bench::FastestMilliseconds([&] { WriteDataFile(savePath, document.lines()); });
  f.check = bench::FastestMilliseconds([&] { CheckDocument(document.lines()); });
  // The parts of open after reading: the separator index and the list rows.
  const Lines lines = document.lines();
  f.index = bench::FastestMilliseconds([&] {
    StripDocument indexed;
    indexed.SetLines(lines);
  });
  f.rows = bench::FastestMilliseconds([&] {
    for (const StripRow& row : StripRowsOf(document)) row.Columns();
  });
  f.lookupNs = LookupNanoseconds(document, strips);
  // Halfway through renumbering after a delete the separators are out of
  // order and lookups fall back to the separator index.
  document.Replace(document.FindStrip(strips / 2), SeparatorLine(strips + 1));
  f.lookupDamagedNs = LookupNanoseconds(document, strips);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  const int sizes[] = {1000, 2000};
  Figures figures[2];
  for (int i = 0; i < 2; ++i) figures[i] = Measure(sizes[i], dir);

  std::printf("%-34s %12s %12s %8s\n", "fastest of 7 runs, ms", "1000 strips", "2000 strips", "2000/1000");
  auto row = [&](const char* name, double Figures::*field) {
    std::printf("%-34s %12.2f %12.2f %8.2f\n", name, figures[0].*field, figures[1].*field,
                figures[1].*field / figures[0].*field);
  };
  row("read + count lines with memchr", &Figures::readCount);
  row("read + split bytes", &Figures::readSplit);
  row("open (read, layout, list rows)", &Figures::open);
  row("open old layout (with conversion)", &Figures::openOld);
  row("  of which: separator index", &Figures::index);
  row("  of which: list rows, texts decoded", &Figures::rows);
  row("save (temporary file + rename)", &Figures::save);
  row("check walk of every key", &Figures::check);
  row("strip lookup, ns each", &Figures::lookupNs);
  row("lookup, separators out of order", &Figures::lookupDamagedNs);
  for (int i = 0; i < 2; ++i) {
    std::printf("open / (read + split) at %d strips: %.2f (limit 3)\n", sizes[i],
                figures[i].open / figures[i].readSplit);
    std::printf("open / (read + memchr line count) at %d strips: %.2f (limit 2)\n", sizes[i],
                figures[i].open / figures[i].readCount);
  }
  return 0;
}
