#include "Commands.h"

#include "document/DataFileLock.h"

// Each command group lives in its own file and declares its entries here.
int RunInfo(const QStringList& args);
int RunCheck(const QStringList& args);
int RunConvert(const QStringList& args);
int RunRender(const QStringList& args);
int RunKeyLabels(const QStringList& args);
int RunTemplates(const QStringList& args);
int RunTemplate(const QStringList& args);
int RunPdf(const QStringList& args);
int RunListPdf(const QStringList& args);
int RunCalibration(const QStringList& args);
int RunExportCsv(const QStringList& args);
int RunImportCsv(const QStringList& args);

const QList<VrdCommand>& VrdCommands() {
  static const QList<VrdCommand> commands = {
      {"info", "FILE", "one tab-separated line per strip: number, series, type, extension, department, user, date", RunInfo},
      {"check", "FILE", "walk every strip, group and key; 'ok: S strips, K keys' or FILE:LINE of the first damage (exit 1)", RunCheck},
      {"convert", "IN OUT [--force]",
       "read IN as the program opens it (old layout converted), write OUT as it saves; "
       "an OUT open in the program is written only with --force", RunConvert},
      {"render", "FILE N OUT.png [--all]", "draw strip N as the detail view (or the all view) shows it", RunRender},
      {"keylabels", "SERIES [--defaults] [--dir DIR]",
       "write the palette list of series 0..6 (its key-label file, or the defaults)", RunKeyLabels},
      {"pdf", "FILE OUT.pdf [--strips LIST] [--adjust V,H]",
       "the strips (all, or LIST like 1,3-5) as strip cards, one page each on its paper, at true size", RunPdf},
      {"list-pdf", "FILE OUT.pdf", "the strip list as list printing draws it, A4 landscape", RunListPdf},
      {"calibration", "OUT.pdf --paper A5|A4|B5 [--adjust V,H]",
       "the calibration sheet: crosshairs and rulers to measure the printer's shift", RunCalibration},
      {"export-csv", "FILE OUT.csv [--utf8]",
       "the strips as a spreadsheet: one row per strip, a column per key; Shift_JIS, or UTF-8 with a BOM", RunExportCsv},
      {"import-csv", "FILE IN.csv [--output OUT.VRD] [--dry-run] [--accept-warnings] [--dir DIR] [--force]",
       "rows matched by extension number update strips or create them from the templates the program reads (or those of DIR); "
       "--dry-run lists each row and the cells it changes; any row error, or a cell that looks rewritten by a spreadsheet "
       "unless --accept-warnings, changes nothing (exit 1); FILE may be new; a file open in the program is written only with --force", RunImportCsv},
      {"templates", "[--dir DIR]",
       "every strip template (*.TPL) the program reads: type, counts, series, folder, check result, why not offered; a name found twice says which file is used",
       RunTemplates},
      {"template", "check FILE.TPL | from-strip FILE.VRD N OUT.TPL | render FILE.TPL OUT.png [--series N] [--all] | "
                   "grid OUT.TPL --series S --group ROWSxCOLS[@X,Y] [--key WxH] [--pitch XxY] "
                   "[--labels left|right|none] [--across] [--first N] [--fixed TEXT,...] [--fixed-size N] [--title T]",
       "check a template (every fault with line and key; exit 0 clean, 1 warnings, 2 errors), take a strip's type "
       "as a template, draw a strip of it, or write one from a grid of keys",
       RunTemplate},
  };
  return commands;
}

std::optional<QString> TakeOption(QStringList& args, const QString& name) {
  const qsizetype at = args.indexOf(name);
  if (at < 0) return std::nullopt;
  QString value = at + 1 < args.size() ? args[at + 1] : QString();
  args.remove(at, at + 1 < args.size() ? 2 : 1);
  return value;
}

bool TakeFlag(QStringList& args, const QString& name) { return args.removeAll(name) > 0; }

bool MayRewrite(const QString& dataFile, bool force) {
  const LockInspection lock = InspectLock(dataFile);
  if (force || lock.status != LockStatus::kHeld) return true;
  const LockHolder& h = lock.holder;
  PrintError(QStringLiteral("vrdtool: %1: open in the program by %2 on %3 (process %4) since %5; "
                            "not written (--force writes anyway)")
                 .arg(dataFile, h.user, h.host)
                 .arg(h.process)
                 .arg(h.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
  return false;
}

int Fail(const QString& text) {
  PrintError(text);
  return 2;
}
