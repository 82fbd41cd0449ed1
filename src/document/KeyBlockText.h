#pragma once
// A key block's text: reading its lines and writing new ones the way the key
// editor commits them. Each write checks the block first, so a damaged
// block raises DocumentError with the document unchanged.

#include <QString>
#include <QStringList>

#include "document/StripDocument.h"

// The lines of an editor's text as a multi-line edit box counts them: an
// empty text has none, a final line end starts no extra line; "\r\n" (a
// text pasted from elsewhere) counts as one line end.
QStringList EditorTextLines(const QString& text);

// The text lines of the key block at `keyLine`. DocumentError when the text
// count is damaged or the lines run past the end.
Lines KeyTextLinesOf(const Lines& lines, qsizetype keyLine);
// Line 30 of the block is not blank: the key shows a picture.
bool KeyBlockHasPicture(const Lines& lines, qsizetype keyLine);

// Replaces the key's text lines by `text` and writes their count into line
// 32; returns how many lines the block grew by (negative when it shrank).
// Lines the old and new text share are replaced in place, the rest inserted
// or removed in one go, so that the lines after the block move once.
qsizetype ReplaceKeyTextLines(StripDocument& document, qsizetype keyLine, const Lines& text);

// A typed text committed into the key: its lines as given (the caller holds
// them to 20 bytes), their count, and the picture lines 30 and 31 emptied.
// Returns how many lines the block grew by.
qsizetype WriteKeyText(StripDocument& document, qsizetype keyLine, const Lines& text);
