// gen_strips N FILE [--old]: writes a data file of N strips of 48 keys.
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "GenerateStrips.h"
#include "document/DataFile.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  bool ok = false;
  const int strips = args.value(0).toInt(&ok);
  if (!ok || strips < 0 || args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2] != "--old")) {
    std::fputs("usage: gen_strips N FILE [--old]\n", stderr);
    return 2;
  }
  const Lines lines = bench::GeneratedDocument(strips, args.size() == 3);
  if (!WriteDataFile(args[1], lines)) {
    std::fprintf(stderr, "gen_strips: cannot write %s\n", qPrintable(args[1]));
    return 2;
  }
  std::printf("%s: %d strips, %lld lines\n", qPrintable(args[1]), strips, static_cast<long long>(lines.size()));
  return 0;
}
