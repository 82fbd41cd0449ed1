// vrdtool keylabels: the palette list of a series as the program sees it.
#include <cstdio>

#include "Commands.h"
#include "base/FileLocations.h"
#include "base/LineIO.h"
#include "base/Numbers.h"
#include "document/Series.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/KeyLabelFile.h"

namespace {

struct KeyLabelsArgs {
  int series = -1;
  bool defaults = false;
  QString folder;
};

// Parses SERIES [--defaults] [--dir DIR]; an error text on failure.
QString ParseKeyLabelsArgs(const QStringList& args, KeyLabelsArgs* out) {
  bool haveSeries = false;
  out->folder = FileLocations::ForThisProgram().KeyLabelFolder();
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == "--defaults") {
      out->defaults = true;
    } else if (arg == "--dir") {
      if (i + 1 >= args.size()) return QStringLiteral("--dir needs a folder");
      out->folder = args[++i];
    } else if (!haveSeries && !arg.startsWith("--")) {
      std::optional<int> series = ParseInt(arg.toUtf8());
      if (!series || !IsSeries(*series)) {
        return QStringLiteral("'%1' is no series (0 to 6)").arg(arg);
      }
      out->series = *series;
      haveSeries = true;
    } else {
      return QStringLiteral("unexpected argument '%1'").arg(arg);
    }
  }
  if (!haveSeries) return QStringLiteral("a series 0 to 6 is needed");
  return QString();
}

}  // namespace

// Writes the series' palette list to stdout in the key-label file format:
// its file from the folder (the defaults when that cannot be used, as in
// the program), or the built-in defaults.
int RunKeyLabels(const QStringList& args) {
  KeyLabelsArgs parsed;
  QString error = ParseKeyLabelsArgs(args, &parsed);
  if (!error.isEmpty()) {
    PrintError(QStringLiteral("vrdtool keylabels: ") + error);
    return 2;
  }
  Lines list;
  if (parsed.defaults) {
    list = DefaultKeyLabels(parsed.series);
  } else if (Myfunc_Load_Label(parsed.series, parsed.folder, &list) == LabelSource::Defaults) {
    // stdout stays the list itself; say on stderr why it is the defaults.
    PrintError(QStringLiteral("vrdtool keylabels: no usable %1: built-in defaults")
                   .arg(KeyLabelFilePath(parsed.series, parsed.folder)));
  }
  const QByteArray bytes = JoinLines(list);
  if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
      std::fflush(stdout) != 0) {
    PrintError(QStringLiteral("vrdtool keylabels: cannot write the output"));
    return 2;
  }
  return 0;
}
