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

// One line of the listing; false when the template is damaged.
bool DescribeTemplate(const QFileInfo& file) {
  Lines lines;
  if (!ReadLinesFile(file.filePath(), &lines)) {
    PrintError(QStringLiteral("%1: cannot be read").arg(file.fileName()));
    return false;
  }
  try {
    const Lines body = StripBodyFromTemplate(lines);
    const QStringList series = SeriesServed(lines.value(0));
    PrintLine(QStringLiteral("%1\t%2 groups, %3 keys\t%4")
                  .arg(file.fileName().section('.', 0, 0), body.first(), QString::number(KeyCountOfBody(body)),
                       series.isEmpty() ? QStringLiteral("(no series)") : series.join(QStringLiteral(", "))));
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
  bool allSound = true;
  for (const QString& folder : folders) {
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
      if (!IsTemplateFileName(file.fileName())) continue;
      allSound = DescribeTemplate(file) && allSound;
    }
  }
  return allSound ? 0 : 1;
}
