#pragma once
// The subcommands of vrdtool. Each takes its own arguments (after the
// subcommand's name) and returns the process exit code: 0 done, 1 the file
// is damaged (check), 2 unreadable input or bad arguments, 130 stopped by
// Ctrl+C (pdf, list-pdf).

#include <QStringList>
#include <optional>

#include "document/DataFile.h"

struct VrdCommand {
  const char* name;
  const char* usage;    // arguments, for --help
  const char* summary;  // one line, for --help
  int (*run)(const QStringList& args);
};

// Every subcommand, in the order --help lists them.
const QList<VrdCommand>& VrdCommands();

// Messages to stderr / stdout in UTF-8.
void PrintError(const QString& text);
void PrintLine(const QString& text);
// PrintError, then the exit code of a command that could not be done (2).
int Fail(const QString& text);

// The value after an option, taken out of the arguments; an empty string
// when the option has no value, nothing when it is absent.
std::optional<QString> TakeOption(QStringList& args, const QString& name);
// A flag, taken out of the arguments: true when it was there.
bool TakeFlag(QStringList& args, const QString& name);

// Whether a command may rewrite `dataFile`: not while a running program
// has it open (its lock), unless `force`. A refusal names the holder on
// stderr.
bool MayRewrite(const QString& dataFile, bool force);

// The data file as the program opens it (old layout converted), or nothing
// after one line on stderr.
std::optional<DataFileContent> LoadDataFile(const QString& path);
