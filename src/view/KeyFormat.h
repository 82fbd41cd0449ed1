#pragma once
// The format of a key's text as the tool bar, the menu and the font dialog
// change it: font family (line 19), size (20), colour pair (21), bold (22),
// italic (23) and alignment (24) of a key block. Every write checks the
// line first and replaces only a line whose value changes, so a damaged
// block raises DocumentError with the document unchanged.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "document/StripDocument.h"

// What the tool bar shows of a key. Read leniently: a style that is not a
// number shows as off, an alignment that is not 1, 2 or 3 as 0 (the
// buttons stay as they are). DocumentError when the block lacks a line.
struct KeyToolbarFormat {
  QString fontName;
  QString sizeText;
  bool bold = false;
  bool italic = false;
  int alignment = 0;
};
KeyToolbarFormat ReadKeyToolbarFormat(const Lines& lines, qsizetype keyLine);

// The size box's text as a size: an integer greater than 0, else nothing.
std::optional<int> FontSizeOfText(const QString& text);

void SetKeyFontName(StripDocument& document, qsizetype keyLine, const QString& family);
void SetKeyFontSize(StripDocument& document, qsizetype keyLine, int points);
void SetKeyFontColor(StripDocument& document, qsizetype keyLine, int color);
void SetKeyBackColor(StripDocument& document, qsizetype keyLine, int color);
void SetKeyBold(StripDocument& document, qsizetype keyLine, bool on);
void SetKeyItalic(StripDocument& document, qsizetype keyLine, bool on);
// 1 left, 2 centre, 3 right.
void SetKeyAlign(StripDocument& document, qsizetype keyLine, int alignment);

// What the font dialog shows and hands back: a size of 10 stands in for a
// line 20 that is not an integer greater than 0.
struct KeyFontChoice {
  QString family;
  int pointSize = 10;
  int color = 0;  // Windows colour value
  bool bold = false;
  bool italic = false;
  bool operator==(const KeyFontChoice&) const = default;
};
KeyFontChoice ReadKeyFontChoice(const Lines& lines, qsizetype keyLine);
// Family, size, font colour (the background kept), bold and italic at once:
// the whole block is checked before the first write.
void ApplyKeyFontChoice(StripDocument& document, qsizetype keyLine, const KeyFontChoice& choice);

// The font list: each family once under its plain name (without the
// "[foundry]" that tells same-named families apart), the fontconfig aliases
// left out, and the substituted font names first, as installed families.
// Each entry is the name followed by "t" for a scalable (TrueType-like)
// family or "u" for a bitmap one.
QStringList FontListEntries(const QStringList& families, const QStringList& substitutedNames,
                            const std::function<bool(const QString&)>& scalable);
// "Nimbus Sans [URW ]" -> "Nimbus Sans": the name other installations know.
QString PlainFamilyName(const QString& family);
// The family name of a font list entry (without its marker).
QString FontListName(const QString& entry);
