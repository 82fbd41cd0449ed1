// What the look at the data file before a save adds to saving a 2,000-strip
// file of 48 keys: the save as it was (join the lines, temporary file,
// sync, rename) against the program's save (the file's status compared
// with what was read or written, the save, the status of the file
// written). Runs alternate so that both meet the same load. The bytes are
// hashed only when the status has changed: that look is timed apart.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "GenerateStrips.h"
#include "Timing.h"
#include "base/FileStamp.h"
#include "base/LineIO.h"
#include "document/DataFile.h"
#include "document/FileSession.h"
#include "document/StripDocument.h"

namespace {

class ListOnlyView : public FileSessionView {
 public:
  void CommitPendingKey() override {}
  void ClearStripList() override { rows = 0; }
  void AddStripRow(const StripRow&) override { ++rows; }
  int StripRowCount() const override { return rows; }
  void ClearStripView() override {}
  void ShowFirstStrip() override {}
  int rows = 0;
};

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int strips = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 15;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("site.VRD"));
  const QString plainPath = dir.filePath(QStringLiteral("plain.VRD"));
  WriteDataFile(path, bench::GeneratedDocument(strips));
  StripDocument document;
  ListOnlyView view;
  FileSession session(document, view);
  if (!session.OpenFile(path)) {
    std::fprintf(stderr, "bench_save: the file did not open\n");
    return 1;
  }
  const QByteArray bytes = JoinLines(document.lines());

  std::vector<double> plain, checked, ratios;
  for (int r = 0; r < rounds; ++r) {
    const double a = Milliseconds([&] { WriteDataFile(plainPath, document.lines()); });
    const double b = Milliseconds([&] {
      if (!session.ActionFileSaveExecute()) std::fprintf(stderr, "bench_save: the save failed\n");
    });
    plain.push_back(a);
    checked.push_back(b);
    ratios.push_back(b / a);
  }
  const FileStamp stamp = FileStamp::Of(path, bytes);
  FileStamp now;
  const double look = bench::FastestMilliseconds([&] { CheckFile(path, stamp, &now); }, {}, 51);
  FileStamp touched = stamp;
  touched.changedNs += 1;  // the status differs: the bytes are read and hashed
  const double lookReading = bench::FastestMilliseconds([&] { CheckFile(path, touched, &now); });
  const double hash = bench::FastestMilliseconds([&] { HashOfBytes(bytes); });

  std::printf("%d strips, %.1f MB, %d alternating rounds\n", strips, bytes.size() / 1e6, rounds);
  std::printf("%-46s %10s %10s\n", "ms", "fastest", "median");
  std::printf("%-46s %10.2f %10.2f\n", "save as before (join, write, sync, rename)",
              *std::min_element(plain.begin(), plain.end()), Median(plain));
  std::printf("%-46s %10.2f %10.2f\n", "save with the look and the stamp",
              *std::min_element(checked.begin(), checked.end()), Median(checked));
  std::printf("%-46s %10.3f\n", "  the look: status unchanged", look);
  std::printf("%-46s %10.2f\n", "hash of the bytes (when the status changed)", hash);
  std::printf("%-46s %10.2f\n", "the look when the status differs (read+hash)", lookReading);
  std::printf("added to a save: median of the rounds' ratios %+.1f %%, of the fastest %+.1f %% (limit 5 %%)\n",
              (Median(ratios) - 1) * 100,
              (*std::min_element(checked.begin(), checked.end()) / *std::min_element(plain.begin(), plain.end()) - 1) *
                  100);
  return 0;
}
