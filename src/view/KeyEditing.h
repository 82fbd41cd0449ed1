#pragma once
// Writing a key's text into its key block: what the in-place editor, the
// edit commands and the palette leave in the document. Each write checks
// the block first, so a damaged block raises DocumentError with the
// document unchanged.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "document/KeyBlockText.h"
#include "document/StripDocument.h"

// Enter may break a line only while the editor holds at most one line.
bool EnterMayBreakLine(const QString& text);

// How many bytes a line of the editor takes in Shift_JIS.
int LineBytes(const QString& line);
// How many characters (UTF-16 units) of an editor line the commit keeps
// when it cuts the line to `bytes` bytes: the rest is what it drops.
int KeptCharacters(const QString& line, int bytes);

// The result of a write: the text lines the block now holds and how many
// lines the block grew by (negative when it shrank), so that the view can
// move the blocks after it.
struct KeyTextWrite {
  Lines text;
  qsizetype lineDelta = 0;
  bool cut = false;  // a line lost bytes past the limit
};

// The commit of a key's editor: line 32 := the number of lines, each line
// cut to 20 bytes, lines 30 and 31 (the picture) emptied.
KeyTextWrite CommitKeyText(StripDocument& document, qsizetype keyLine, const QStringList& editorLines);

// What a palette entry hands to a key.
struct KeyLabelValues {
  QByteArray fontName;  // Shift_JIS
  int fontSize = 0;     // points
  int fontColor = 0;    // Windows colour values
  int backColor = 0;
  Lines text;
};
// A palette label on a key: font name (line 19), size (line 20), both
// colours (line 21) and every text line as it is (not cut); bold, italic,
// alignment and the picture are left alone.
KeyTextWrite ApplyKeyLabel(StripDocument& document, qsizetype keyLine, const KeyLabelValues& label);

// Line 30 of the block is not blank: the key shows a picture.
bool KeyHasPicture(const StripDocument& document, qsizetype keyLine);
