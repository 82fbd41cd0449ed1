#pragma once
// Loading a key's text lines into its editor: no text line may be longer
// than 20 bytes, so a longer one is cut (never splitting a double-byte
// character) and the cut text replaces the line in the document.

#include "document/StripDocument.h"
#include "view/StripGeometry.h"

// The text lines of the key block at `keyLine`, each cut to 20 bytes; lines
// that had to be cut are written back. DocumentError when the text count is
// damaged or the lines run past the end of the document.
Lines LoadKeyTextLines(StripDocument& document, qsizetype keyLine);

// Cuts the text lines of every key of a laid-out strip; returns how many
// lines were written back. The plan stays valid: no line is added or removed.
int CutLongKeyTextLines(StripDocument& document, const StripPlan& plan);
