#include "document/Template.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "base/FileLocations.h"
#include "base/LineIO.h"
#include "base/Numbers.h"
#include "base/ShiftJis.h"
#include "document/StripLayout.h"

namespace {

const QString kTemplateSuffix = QStringLiteral(".TPL");
constexpr int kDefaultTextSize = 9;

// Every plain file of the folder whose name ends in ".tpl" in any case.
QFileInfoList TemplateFiles(const QString& folder) {
  QFileInfoList found;
  const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
  for (const QFileInfo& entry : entries) {
    if (IsTemplateFileName(entry.fileName())) found.append(entry);
  }
  return found;
}

bool LessIgnoringCase(const QString& a, const QString& b) {
  const int folded = a.compare(b, Qt::CaseInsensitive);
  return folded != 0 ? folded < 0 : a < b;
}

// The text size of a fixed key: bytes 5 and 6 of its key number field.
int FixedKeyTextSize(const QByteArray& field) {
  return ParseIntOr(field.mid(4, 2), kDefaultTextSize);
}

}  // namespace

bool TemplateServesSeries(const QByteArray& titleLine, const QByteArray& seriesName) {
  return !seriesName.isEmpty() && titleLine.contains(seriesName);
}

QStringList DiscoverStripTypes(const QString& folder, const QByteArray& seriesName) {
  QStringList types;
  for (const QFileInfo& file : TemplateFiles(folder)) {
    Lines lines;
    if (!ReadLinesFile(file.filePath(), &lines) || lines.isEmpty()) continue;
    if (!TemplateServesSeries(lines[0], seriesName)) continue;
    const QString type = file.fileName().section(QLatin1Char('.'), 0, 0);
    if (!type.isEmpty()) types.append(type);
  }
  std::sort(types.begin(), types.end(), LessIgnoringCase);
  return types;
}

QStringList DiscoverStripTypes(const QStringList& folders, const QByteArray& seriesName) {
  QStringList types;
  for (const QString& folder : folders) {
    for (const QString& type : DiscoverStripTypes(folder, seriesName)) {
      if (!types.contains(type, Qt::CaseInsensitive)) types.append(type);
    }
  }
  std::sort(types.begin(), types.end(), LessIgnoringCase);
  return types;
}

QString FindTemplateFile(const QStringList& folders, const QString& stripType) {
  for (const QString& folder : folders) {
    if (QString path = FindTemplateFile(folder, stripType); !path.isEmpty()) return path;
  }
  return {};
}

QString FindTemplateFile(const QString& folder, const QString& stripType) {
  // A strip type is a bare file name; anything that could lead out of the
  // folder names no template.
  if (stripType.isEmpty() || stripType.contains(QLatin1Char('/')) ||
      stripType.contains(QLatin1Char('\\'))) {
    return {};
  }
  const QString wanted = stripType + kTemplateSuffix;
  const QFileInfo exact(QDir(folder).filePath(wanted));
  if (exact.isFile()) return exact.filePath();
  for (const QFileInfo& file : TemplateFiles(folder)) {
    if (file.fileName().compare(wanted, Qt::CaseInsensitive) == 0) return file.filePath();
  }
  return {};
}

bool IsEditableTemplateKey(const QByteArray& keyNumberField) {
  return ParseIntOr(keyNumberField.left(3), 0) >= 1;
}

Lines KeyStartLines(const QByteArray& keyNumberField) {
  static const QByteArray editableFont = sjis::Encode(QStringLiteral("ＭＳ 明朝"));
  static const QByteArray fixedFont = sjis::Encode(QStringLiteral("ＭＳ Ｐゴシック"));
  const bool editable = IsEditableTemplateKey(keyNumberField);
  Lines lines;
  lines.reserve(layout::kFirstText + 1 - layout::kFontName);
  lines << (editable ? editableFont : fixedFont);
  lines << QByteArray::number(editable ? kDefaultTextSize : FixedKeyTextSize(keyNumberField));
  lines << "0" << "0" << "0" << "2";  // colour pair, bold, italic, centred
  for (int line = layout::kAlign + 1; line < layout::kTextCount; ++line) lines << QByteArray();
  if (editable) {
    lines << "0";
  } else {
    lines << "1" << keyNumberField.mid(6);
  }
  return lines;
}

Lines StripBodyFromTemplate(const Lines& templateLines) {
  const Lines& t = templateLines;
  Lines body;
  qsizetype c = 1;  // line 0 is the title
  const int groups = ReadCount(t, c);
  body << t[c++];
  for (int g = 0; g < groups; ++g) {
    for (int i = 0; i < layout::kKeyCount; ++i) body << LineAt(t, c++);
    const int keys = ReadCount(t, c);
    body << t[c++];
    for (int k = 0; k < keys; ++k) {
      const QByteArray& field = LineAt(t, c + layout::kKeyNumber);
      for (int i = 0; i < layout::kKeyTemplateLines; ++i) body << LineAt(t, c++);
      body << KeyStartLines(field);
    }
  }
  return body;
}

QString TemplateErrorText(const QString& fileName, qsizetype lineCount, const DocumentError& error) {
  if (error.Line() >= lineCount) {
    return QStringLiteral("テンプレート「%1」が途中で終わっています（%2行しかありません）。")
        .arg(fileName)
        .arg(lineCount);
  }
  return QStringLiteral("テンプレート「%1」の%2行目に誤りがあります（%3が必要です）。")
      .arg(fileName)
      .arg(error.Line() + 1)
      .arg(error.Expected());
}
