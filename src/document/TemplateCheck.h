#pragma once
// The check of a template: every fault with its line (1-based) and key, told
// apart as errors (a strip cannot be made or drawn from it) and warnings (it
// can, but looks wrong on the sheet or the paper). And the survey of the
// template folders: every template file, whether it is offered, and why not.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "document/StripTemplate.h"

// Every fault of a template file's bytes, in line order: the reading faults
// (counts, numbers, limits, an early end), a file that is not Shift_JIS, and
// the faults of CheckTemplate. `stripType` (the file name up to its first
// ".") chooses the sheet of a Ｋａ template.
QList<TemplateFault> CheckTemplateBytes(const QByteArray& bytes, const QByteArray& stripType);

// The faults of a model that could be read:
//   errors:   a title that names no series; a group, key outline, shown
//             number label or text area of zero or negative width or height;
//             a fixed key's text that starts inside a double-byte character
//             (its size not two digits in bytes 5-6: "-01,9保留" prints "ﾛ留");
//   warnings: a key outline, shown number label or text area outside its
//             group, or outside the sheet of a series it serves; a text area
//             outside its key outline; two key outlines that overlap; two
//             editable keys with the same number; a fixed key whose size is
//             not two digits, where the text is merely shifted.
QList<TemplateFault> CheckTemplate(const StripTemplate& model, const QByteArray& stripType);

bool HasTemplateErrors(const QList<TemplateFault>& faults);
// The first error, or nothing.
const TemplateFault* FirstTemplateError(const QList<TemplateFault>& faults);
// 0 clean, 1 warnings only, 2 errors.
int TemplateCheckLevel(const QList<TemplateFault>& faults);
// "問題なし", "警告 n件" or "エラー n件、警告 m件".
QString TemplateCheckSummary(const QList<TemplateFault>& faults);
// The faults for a message, one a line, at most ten ("…ほかn件" for the rest).
QString TemplateFaultLines(const QList<TemplateFault>& faults);

// The 1-based file line of each group header and each key template of a
// model as ToLines writes it.
int GroupLineOf(const StripTemplate& model, int group);
int KeyLineOf(const StripTemplate& model, int key);

// One template file found in a template folder.
struct TemplateFileInfo {
  QString path;
  QString fileName;
  QString stripType;     // the file name up to its first "."
  int folderIndex = 0;   // which of the folders (0: the first, the user's)
  bool offered = false;  // discovery lists it and strip creation finds it
  QString notOfferedReason;
  QList<int> series;     // series the title names
  int groups = 0;
  int keys = 0;
  QList<TemplateFault> faults;
};

// Every file whose name ends in ".tpl" (any case) in each folder, folder by
// folder, by name: read and checked. A file is not offered when it cannot be
// read, its title names no series, its name does not lead strip creation
// back to it (an empty name, a second "."), or a type of the same name
// (without regard to case) was found in an earlier folder.
QList<TemplateFileInfo> SurveyTemplateFolders(const QStringList& folders);
