#pragma once
// The line layout of strips and keys in a strip document, and the walk over
// groups and keys by their counts.

#include <QByteArray>
#include <QList>
#include <vector>

#include "document/CheckedRead.h"

namespace layout {

inline constexpr char kFormatVersionLine[] = "file-version:01.01.00.00";
inline constexpr char kFormatVersionMark[] = "file-version:";
inline constexpr int kSeparatorFillBytes = 10;  // bytes 0xFF after the strip number

// Offsets from the strip start line (the line after the separator).
enum StripLine {
  kExtension = 0,
  kDepartment = 1,
  kUserName = 2,
  kRegistered = 3,
  kSeriesName = 4,
  kStripType = 5,
  kGroupCount = 6,
  kFirstGroup = 7,
};
inline constexpr int kHeaderLines = 6;

// Offsets from a group header's first line.
enum GroupLine { kShowNumbers = 0, kGroupX, kGroupY, kGroupWidth, kGroupHeight, kKeyCount };
inline constexpr int kGroupHeaderLines = 6;

// Offsets from a key block's first line.
enum KeyLine {
  kKeyX = 0, kKeyY, kKeyWidth, kKeyHeight,
  kLabelX, kLabelY, kLabelWidth, kLabelHeight,
  kLabelFont, kLabelSize, kLabelColor, kLabelBold, kLabelItalic, kLabelAlign,
  kKeyNumber,
  kTextX, kTextY, kTextWidth, kTextHeight,
  kFontName, kFontSize, kColorPair, kBold, kItalic, kAlign,
  kPictureKind = 30,
  kPictureData = 31,
  kTextCount = 32,
  kFirstText = 33,
};
inline constexpr int kKeyTemplateLines = 19;  // lines 0-18, copied from the template
inline constexpr int kKeyFixedLines = 33;
inline constexpr int kMaxKeys = 100;
inline constexpr int kMaxGroups = 100;
inline constexpr int kTextLineBytes = 20;

}  // namespace layout

// The separator line of strip n: decimal n followed by ten 0xFF bytes.
QByteArray SeparatorLine(int n);
// The strip number a separator line stands for, or 0 when it is none.
int StripNumberOfSeparator(QByteArrayView line);

// Number of lines of the key block at `keyLine`: 33 plus its text count.
qsizetype KeyBlockLength(const Lines& lines, qsizetype keyLine);
// Number of lines of the group at `groupLine`, header and key blocks.
qsizetype GroupLength(const Lines& lines, qsizetype groupLine);
// Line of key block k of the strip starting at `stripStart`, walking the
// groups by their key counts. DocumentError when the strip has no key k, a
// count on the way is damaged, or the block would lie past the end.
qsizetype KeyBlockLine(const Lines& lines, qsizetype stripStart, int k);
// The first line of every key block of the strip, key 0 first, in one walk
// of its counts. DocumentError when a count on the way is damaged, a group
// or key limit is passed, or a block would lie past the end.
std::vector<qsizetype> KeyBlockLines(const Lines& lines, qsizetype stripStart);
// The line after the last key block of the strip whose first header line is
// `stripStart`, walked by its counts within the group and key limits; -1
// when a count is no count, a limit is passed or the walk runs past the
// end. Reads at most one count per group and key, never throws.
qsizetype WalkedStripEnd(const Lines& lines, qsizetype stripStart);
// Sum of the key counts of the groups before group g (0 when g is past the
// end); held at INT_MAX when damaged counts add up beyond it.
int GroupFirstKey(const Lines& lines, qsizetype stripStart, int g);

// The key number field read as a whole: above 0 marks an editable key.
int KeyNumberValue(const QByteArray& field);
// The number shown in the key's label: |first three characters|, 0 for none.
int KeyNumberShown(const QByteArray& field);
