// vrdtool templates: every template of the template folders with the series
// it serves, checked the way strip creation checks it.
#include <QDir>
#include <QFileInfo>

#include "Commands.h"
#include "base/FileLocations.h"
#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripLayout.h"
#include "document/Template.h"

namespace {

QStringList SeriesServed(const QByteArray& titleLine) {
  QStringList names;
  for (const QString& name : SeriesNames()) {
    if (TemplateServesSeries(titleLine, sjis::Encode(name))) names << name;
  }
  return names;
}

// Total keys of a strip body (its lines from the group count on).
int KeyCountOfBody(const Lines& body) {
  const Lines strip = Lines(layout::kGroupCount) + body;
  const int groups = ReadCount(strip, layout::kGroupCount);
  int keys = 0;
  qsizetype line = layout::kFirstGroup;
  for (int g = 0; g < groups; ++g) {
    keys += ReadCount(strip, line + layout::kKeyCount);
    line += GroupLength(strip, line);
  }
  return keys;
}

QString StripTypeOf(const QFileInfo& file) { return file.fileName().section('.', 0, 0); }

// For a strip type found in more than one file: whether this file is the
// one the program reads (the first folder's) and which files it hides, or
// which file hides it. Empty for a type found once.
QString HidingNote(const QFileInfo& file, const QList<QFileInfo>& all, const QStringList& folders) {
  const QString type = StripTypeOf(file);
  const QFileInfo used(FindTemplateFile(folders, type));
  QStringList others;
  for (const QFileInfo& other : all) {
    if (other != file && StripTypeOf(other).compare(type, Qt::CaseInsensitive) == 0) others << other.filePath();
  }
  if (others.isEmpty() || !used.exists()) return {};
  if (used == file) return QStringLiteral("used, hides ") + others.join(QStringLiteral(", "));
  return QStringLiteral("hidden by ") + used.filePath();
}

// One line of the listing, with `note` as a last column when there is
// one; false when the template is damaged.
bool DescribeTemplate(const QFileInfo& file, const QString& note) {
  Lines lines;
  if (!ReadLinesFile(file.filePath(), &lines)) {
    PrintError(QStringLiteral("%1: cannot be read").arg(file.fileName()));
    return false;
  }
  try {
    const Lines body = StripBodyFromTemplate(lines);
    const QStringList series = SeriesServed(lines.value(0));
    PrintLine(QStringLiteral("%1\t%2 groups, %3 keys\t%4")
                  .arg(StripTypeOf(file), body.first(), QString::number(KeyCountOfBody(body)),
                       series.isEmpty() ? QStringLiteral("(no series)") : series.join(QStringLiteral(", "))) +
              (note.isEmpty() ? QString() : '\t' + note));
    return true;
  } catch (const DocumentError& error) {
    PrintError(TemplateErrorText(file.fileName(), lines.size(), error));
    return false;
  }
}

}  // namespace

int RunTemplates(const QStringList& args) {
  QStringList folders = FileLocations::ForThisProgram().TemplateFolders();
  if (args.size() == 2 && args[0] == "--dir") {
    folders = {args[1]};
  } else if (!args.isEmpty()) {
    PrintError(QStringLiteral("vrdtool templates: expected [--dir DIR]"));
    return 2;
  }
  QList<QFileInfo> files;
  for (const QString& folder : folders) {
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
      if (IsTemplateFileName(file.fileName())) files << file;
    }
  }
  bool allSound = true;
  for (const QFileInfo& file : files) allSound = DescribeTemplate(file, HidingNote(file, files, folders)) && allSound;
  return allSound ? 0 : 1;
}
