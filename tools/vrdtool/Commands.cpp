#include "Commands.h"

// Each command group lives in its own file and declares its entries here.
int RunInfo(const QStringList& args);
int RunCheck(const QStringList& args);
int RunConvert(const QStringList& args);
int RunRender(const QStringList& args);
int RunKeyLabels(const QStringList& args);
int RunTemplates(const QStringList& args);

const QList<VrdCommand>& VrdCommands() {
  static const QList<VrdCommand> commands = {
      {"info", "FILE", "one tab-separated line per strip: number, series, type, extension, department, user, date", RunInfo},
      {"check", "FILE", "walk every strip, group and key; 'ok: S strips, K keys' or FILE:LINE of the first damage (exit 1)", RunCheck},
      {"convert", "IN OUT", "read IN as the program opens it (old layout converted), write OUT as it saves", RunConvert},
      {"render", "FILE N OUT.png [--all]", "draw strip N as the detail view (or the all view) shows it", RunRender},
      {"keylabels", "SERIES [--defaults] [--dir DIR]",
       "write the palette list of series 0..6 (its key-label file, or the defaults)", RunKeyLabels},
      {"templates", "[--dir DIR]", "list and check the strip templates (*.TPL) of the program folder", RunTemplates},
  };
  return commands;
}
