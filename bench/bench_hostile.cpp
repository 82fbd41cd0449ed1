// Hostile and damaged data files: the time each takes to open (read, list
// rows with their texts decoded, the check walk) or to draw, and the peak
// memory of the process. Every case runs in a process of its own so that
// its peak resident size is its own.
//   bench_hostile                 every case, one child process each
//   bench_hostile <case>          one case
//   bench_hostile write <strips> <file>   a generated data file (see GenerateStrips.h)
//   bench_hostile open <file>     open one file (for /usr/bin/time -v)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <utility>

#include "GenerateStrips.h"
#include "base/LineIO.h"
#include "base/Mainsub.h"
#include "document/DataFile.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"
#include "document/StripRow.h"
#include "view/KeyText.h"

namespace {

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// What opening does with a file: parse, index, list rows with decoded texts,
// and the check walk that vrdtool runs.
QString Open(QByteArray bytes) {
  const DataFileContent content = ParseDataFile(std::move(bytes));
  if (!content.ok()) return QStringLiteral("format error at line %1").arg(content.errorLine + 1);
  StripDocument document;
  document.SetLines(content.lines);
  document.MarkSaved();
  qsizetype rows = 0;
  try {
    for (const StripRow& row : StripRowsOf(document)) rows += row.Columns().size() / StripRow::kColumnCount;
  } catch (const DocumentError&) {
    return QStringLiteral("count line damaged");
  }
  QString check = QStringLiteral("sound");
  try {
    CheckDocument(document.lines());
  } catch (const DocumentError& e) {
    check = QStringLiteral("damage at line %1").arg(e.Line() + 1);
  }
  return QStringLiteral("%1 rows, %2").arg(rows).arg(check);
}

// `count` separator lines in reverse order behind a count line.
QByteArray Misplaced(int count) {
  Lines lines{layout::kFormatVersionLine, QByteArray::number(count)};
  for (int n = count; n >= 1; --n) lines.append(SeparatorLine(n));
  return JoinLines(lines);
}

// One strip of `keys` keys of `texts` text lines each.
Lines LongKeys(int keys, int texts) {
  Lines lines = bench::GeneratedDocument(1);
  lines.resize(2 + 8);  // the version, the count, the separator and the header
  lines[2 + 7] = "1";
  lines += Lines{"1", "5", "10", "70", "120", QByteArray::number(keys)};
  for (int k = 0; k < keys; ++k) {
    Lines key = bench::GeneratedKey(1, k, false);
    key.resize(32);
    key.append(QByteArray::number(texts));
    for (int t = 0; t < texts; ++t) key.append("line " + QByteArray::number(t));
    lines += key;
  }
  return lines;
}

QString DrawLongKeys() {
  const Lines lines = LongKeys(100, 10000);
  QImage image(100, 40, QImage::Format_RGB32);
  QPainter painter(&image);
  const double ms = Milliseconds([&] {
    qsizetype keyLine = 2 + 8 + 6;
    for (int k = 0; k < 100; ++k) {
      DrawKeyText(painter, Decimal4(), Decimal4(), Decimal4::FromInt(100), Decimal4::FromInt(40), lines, keyLine, 9);
      keyLine += KeyBlockLength(lines, keyLine);
    }
  });
  return QStringLiteral("100 keys drawn in %1 ms (the rest: building the lines)").arg(ms, 0, 'f', 1);
}

const std::map<std::string, std::function<QString()>>& Cases() {
  static const std::map<std::string, std::function<QString()>> cases = {
      {"count-overflow", [] { return Open("file-version:\n2147483647\n2147483647" + QByteArray(10, '\xFF')); }},
      {"count-huge", [] { return Open(JoinLines({layout::kFormatVersionLine, "100000000", SeparatorLine(1), "1"})); }},
      {"misplaced-100000", [] { return Open(Misplaced(100000)); }},
      {"misplaced-200000", [] { return Open(Misplaced(200000)); }},
      {"key-sum", [] {
         Lines lines = LongKeys(60, 0);
         lines += Lines{"1", "5", "10", "70", "120", "2147483647"};
         lines[2 + 7] = "2";
         return Open(JoinLines(lines));
       }},
      {"long-keys-draw", DrawLongKeys},
      {"open-2000-strips", [] { return Open(JoinLines(bench::GeneratedDocument(2000))); }},
  };
  return cases;
}

int RunCase(const std::string& name) {
  const auto it = Cases().find(name);
  if (it == Cases().end()) {
    std::fprintf(stderr, "bench_hostile: no case %s\n", name.c_str());
    return 2;
  }
  QString answer;
  const double ms = Milliseconds([&] { answer = it->second(); });
  std::printf("%-18s %10.1f ms %8.1f MB peak  %s\n", name.c_str(), ms, PeakMegabytes(), qPrintable(answer));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  RegisterFontSubstitutes();
  const QStringList args = app.arguments().mid(1);
  if (args.size() == 3 && args[0] == "write") {
    return WriteDataFile(args[2], bench::GeneratedDocument(args[1].toInt())) ? 0 : 1;
  }
  if (args.size() == 2 && args[0] == "open") {
    QByteArray bytes;
    if (!ReadFileBytes(args[1], &bytes)) return 1;
    QString answer;
    // As ReadDataFile does, the bytes read are handed over.
    const double ms = Milliseconds([&] { answer = Open(std::move(bytes)); });
    std::printf("open %s: %.1f ms, %.1f MB peak, %s\n", qPrintable(args[1]), ms, PeakMegabytes(), qPrintable(answer));
    return 0;
  }
  if (args.size() == 1) return RunCase(args[0].toStdString());
  std::printf("%-18s %13s %13s  %s\n", "case", "time", "peak RSS", "answer");
  for (const auto& [name, run] : Cases()) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(app.applicationFilePath(), {QString::fromStdString(name)});
    child.waitForFinished(-1);
  }
  return 0;
}
