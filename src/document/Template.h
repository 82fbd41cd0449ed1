#pragma once
// Strip templates: the files "<strip type>.TPL" in the template folders. Line 0
// is a title that names every series the template serves; line 1 is the
// group count; then come the groups, each a six-line group header followed
// by its key templates (lines 0 to 18 of a key block). Lines after the last
// key template are ignored.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "document/CheckedRead.h"

// True when a template's title line contains the series name (Shift_JIS).
bool TemplateServesSeries(const QByteArray& titleLine, const QByteArray& seriesName);

// The strip types offered for a series: for every file of `folder` whose name
// ends in ".tpl" in any case and whose line 0 names the series, the file name
// up to its first ".". Files that cannot be read are skipped. Sorted without
// regard to case.
QStringList DiscoverStripTypes(const QString& folder, const QByteArray& seriesName);
// The same over several folders: a type found in an earlier folder hides
// the one of the same name (without regard to case) in a later folder.
QStringList DiscoverStripTypes(const QStringList& folders, const QByteArray& seriesName);

// The template file of a strip type: `folder` + type + ".TPL", the name
// matched without regard to case (an exact match first). Empty when there is
// none.
QString FindTemplateFile(const QString& folder, const QString& stripType);
// The template file from the first of `folders` that has one.
QString FindTemplateFile(const QStringList& folders, const QString& stripType);

// A key whose key number field starts with an integer of 1 or more (its
// first three bytes) is editable; any other key is fixed.
bool IsEditableTemplateKey(const QByteArray& keyNumberField);
// The lines a new key block gets after its key template (lines 19 on).
// Editable: "ＭＳ 明朝", size 9, default format, no text. Fixed: "ＭＳ Ｐゴシック",
// the size from bytes 5-6 (9 when they are no number) and one text line,
// the field from byte 7 on.
Lines KeyStartLines(const QByteArray& keyNumberField);

// The lines of a new strip from its group count on, built from a template's
// lines (title line included): every group header and key template, each
// key template followed by its start lines. Reads every count through the
// checked reads, so a template whose counts are not numbers or that ends
// before its last key template raises DocumentError with the index of the
// template line at fault; nothing is half built.
Lines StripBodyFromTemplate(const Lines& templateLines);

// The message for a template that StripBodyFromTemplate refused.
QString TemplateErrorText(const QString& fileName, qsizetype lineCount, const DocumentError& error);
