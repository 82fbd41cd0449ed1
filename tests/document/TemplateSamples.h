#pragma once
// Small templates written the way template files are: a title line, the
// group count, groups of six header lines, key templates of 19 lines.

#include <QByteArray>
#include <QList>
#include <QString>

#include "base/Lines.h"

// A key template with the given key number field (UTF-8 source text).
Lines KeyTemplate(const char* keyNumberField);
// A group header followed by one key template per field.
Lines GroupTemplate(int showNumbers, const QList<const char*>& fields);
// Title, group count and the groups.
Lines TemplateLines(const char* title, const QList<Lines>& groups);
// Writes the lines as a template file (CR LF, Shift_JIS as given).
void WriteTemplate(const QString& path, const Lines& lines);

// The title naming the Ｔｅ series, and a two-group template for it: three
// numbered keys, then two fixed keys.
extern const char kTeTitle[];
Lines TeTemplate();
