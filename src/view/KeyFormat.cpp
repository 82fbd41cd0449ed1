#include "view/KeyFormat.h"

#include <QSet>

#include "base/ColorPair.h"
#include "base/Numbers.h"
#include "base/ShiftJis.h"
#include "document/CheckedRead.h"
#include "document/StripLayout.h"

using namespace layout;

namespace {

void WriteKeyLine(StripDocument& document, qsizetype line, const QByteArray& value) {
  if (LineAt(document.lines(), line) != value) document.Replace(line, value);
}

QByteArray Flag(bool on) { return on ? QByteArrayLiteral("1") : QByteArrayLiteral("0"); }

bool FlagOf(const Lines& lines, qsizetype line) { return ParseIntOr(LineAt(lines, line), 0) != 0; }

// The generic names fontconfig answers every query with; they are no
// installed family and would write a name no other installation knows.
const QStringList kFontAliases = {QStringLiteral("Sans Serif"), QStringLiteral("Serif"),
                                  QStringLiteral("Monospace"), QStringLiteral("Sans"),
                                  QStringLiteral("Mono")};

}  // namespace

QString PlainFamilyName(const QString& family) {
  if (!family.endsWith(']')) return family;
  const qsizetype open = family.lastIndexOf(QStringLiteral(" ["));
  return open > 0 ? family.left(open) : family;
}

KeyToolbarFormat ReadKeyToolbarFormat(const Lines& lines, qsizetype keyLine) {
  LineAt(lines, keyLine + kAlign);
  KeyToolbarFormat format;
  format.fontName = sjis::Decode(lines[keyLine + kFontName]);
  format.sizeText = sjis::Decode(lines[keyLine + kFontSize]);
  format.bold = FlagOf(lines, keyLine + kBold);
  format.italic = FlagOf(lines, keyLine + kItalic);
  const int alignment = ParseIntOr(lines[keyLine + kAlign], 0);
  format.alignment = alignment >= 1 && alignment <= 3 ? alignment : 0;
  return format;
}

std::optional<int> FontSizeOfText(const QString& text) {
  const std::optional<int> size = ParseInt(text.toLatin1());
  if (!size || *size <= 0) return std::nullopt;
  return size;
}

void SetKeyFontName(StripDocument& document, qsizetype keyLine, const QString& family) {
  WriteKeyLine(document, keyLine + kFontName, sjis::Encode(family));
}

void SetKeyFontSize(StripDocument& document, qsizetype keyLine, int points) {
  WriteKeyLine(document, keyLine + kFontSize, QByteArray::number(points));
}

void SetKeyFontColor(StripDocument& document, qsizetype keyLine, int color) {
  WriteKeyLine(document, keyLine + kColorPair, WithFontColor(LineAt(document.lines(), keyLine + kColorPair), color));
}

void SetKeyBackColor(StripDocument& document, qsizetype keyLine, int color) {
  WriteKeyLine(document, keyLine + kColorPair, WithBackColor(LineAt(document.lines(), keyLine + kColorPair), color));
}

void SetKeyBold(StripDocument& document, qsizetype keyLine, bool on) {
  WriteKeyLine(document, keyLine + kBold, Flag(on));
}

void SetKeyItalic(StripDocument& document, qsizetype keyLine, bool on) {
  WriteKeyLine(document, keyLine + kItalic, Flag(on));
}

void SetKeyAlign(StripDocument& document, qsizetype keyLine, int alignment) {
  WriteKeyLine(document, keyLine + kAlign, QByteArray::number(alignment));
}

KeyFontChoice ReadKeyFontChoice(const Lines& lines, qsizetype keyLine) {
  LineAt(lines, keyLine + kItalic);
  KeyFontChoice choice;
  choice.family = sjis::Decode(lines[keyLine + kFontName]);
  const int size = ParseIntOr(lines[keyLine + kFontSize], 0);
  choice.pointSize = size > 0 ? size : 10;
  choice.color = FontColorOf(lines[keyLine + kColorPair]);
  choice.bold = FlagOf(lines, keyLine + kBold);
  choice.italic = FlagOf(lines, keyLine + kItalic);
  return choice;
}

void ApplyKeyFontChoice(StripDocument& document, qsizetype keyLine, const KeyFontChoice& choice) {
  LineAt(document.lines(), keyLine + kItalic);
  SetKeyFontName(document, keyLine, choice.family);
  SetKeyFontSize(document, keyLine, choice.pointSize);
  SetKeyFontColor(document, keyLine, choice.color);
  SetKeyBold(document, keyLine, choice.bold);
  SetKeyItalic(document, keyLine, choice.italic);
}

QStringList FontListEntries(const QStringList& families, const QStringList& substitutedNames,
                            const std::function<bool(const QString&)>& scalable) {
  QStringList entries;
  QSet<QString> listed;
  // The substitutes stand in for scalable fonts.
  for (const QString& name : substitutedNames) {
    if (!listed.contains(name)) entries.append(name + 't');
    listed.insert(name);
  }
  for (const QString& family : families) {
    const QString name = PlainFamilyName(family);
    if (listed.contains(name) || kFontAliases.contains(name)) continue;
    listed.insert(name);
    entries.append(name + (scalable(family) ? 't' : 'u'));
  }
  return entries;
}

QString FontListName(const QString& entry) { return entry.chopped(entry.isEmpty() ? 0 : 1); }
