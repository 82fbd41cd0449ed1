#pragma once
// The palette list: the key labels of one series as Shift_JIS lines, entry
// after entry, with no header and no separator. Entry k is a block of 4 + N
// lines: font name, font size, colour pair, N, then the N text lines. The
// only way to find an entry is to walk the text counts of the ones before it,
// so every walk here goes through the checked reads and a damaged list raises
// DocumentError instead of reading out of bounds.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "base/ColorPair.h"
#include "document/CheckedRead.h"

inline constexpr int kPaletteTabs = 3;

namespace palette {

// Offsets from an entry block's first line.
enum EntryLine { kFontName = 0, kFontSize, kColorPair, kTextCount, kFirstText };
inline constexpr int kEntryFixedLines = 4;

}  // namespace palette

// Entries of a series' palette: three tabs of 20 or 15 (60 or 45); 0 for a
// number that is no series.
int PaletteEntryCount(int series);

// The first line of entry `entry`. DocumentError when the list ends before
// it or a text count on the way is not a count.
qsizetype PaletteEntryLine(const Lines& list, int entry);
// Lines of the entry block starting at `entryLine` (4 + N), checked to exist.
qsizetype PaletteEntryLength(const Lines& list, qsizetype entryLine);

// Everything of an entry except its text lines.
struct KeyLabelFormat {
  QByteArray fontName;  // Shift_JIS, as in the list
  int fontSize = 0;     // points
  int fontColor = kWinBlack;
  int backColor = kWinWhite;
};

// Reads entry `entry`: clears `labelLines`, fills it with the entry's text
// lines and returns the entry's font, size and colours. DocumentError when
// the entry cannot be read (a list that is not well formed).
KeyLabelFormat Myfunc_Get_Label(const Lines& list, int entry, Lines* labelLines);

// A list is well formed for a series when it holds exactly 3 x n entries,
// every size and text count is a number, every announced text line exists
// and no line follows the last entry. CheckPaletteList raises DocumentError
// at the first fault.
void CheckPaletteList(const Lines& list, int series);
// The line after the last of the 3 x n entries; DocumentError as
// CheckPaletteList for a fault on the way (lines after the end are not looked at).
qsizetype PaletteListEnd(const Lines& list, int series);
bool IsWellFormedPaletteList(const Lines& list, int series);

// The commit of an entry ("確定"): entry `entry` takes the font name, the
// size and both colours of `format` (the colour pair keeps its form rules:
// black on white reads "0,16777215"), and its text lines are replaced by
// `textLines`, however many. DocumentError when the entry cannot be found;
// the list is then unchanged.
void CommitKeyLabel(Lines* list, int entry, const KeyLabelFormat& format, const Lines& textLines);

// The lines of a memo's text in Shift_JIS: an empty memo gives no line, a
// final line end starts no extra line.
Lines MemoLines(const QString& memoText);

// A palette button's caption from the label line buffer: one line as it is
// at 9 points; two or more lines as the first two joined by a line feed at
// 8 points; no line gives an empty caption at 9 points.
struct KeyLabelCaption {
  QString text;
  int pointSize = 9;
};
KeyLabelCaption CaptionOf(const Lines& labelLines);

// The font sizes offered for keys and labels: "4" ... "72", 20 items.
QStringList FontSizeList();
