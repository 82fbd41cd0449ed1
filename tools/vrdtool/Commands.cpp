#include "Commands.h"

// Each command group lives in its own file and declares its entries here.
int RunInfo(const QStringList& args);
int RunCheck(const QStringList& args);
int RunConvert(const QStringList& args);
int RunKeyLabels(const QStringList& args);
int RunTemplates(const QStringList& args);

const QList<VrdCommand>& VrdCommands() {
  static const QList<VrdCommand> commands = {
      {"keylabels", "SERIES [--defaults] [--dir DIR]",
       "write the palette list of series 0..6 (its key-label file, or the defaults)", RunKeyLabels},
      {"templates", "[--dir DIR]", "list and check the strip templates (*.TPL) of the program folder", RunTemplates},
  };
  return commands;
}
