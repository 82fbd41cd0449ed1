#pragma once
// Handing a palette entry to a key: the key takes the entry's font, size and
// colours and all of its text lines. A key that carries a picture keeps
// everything; its weight, slant and alignment are never touched.

#include "document/StripDocument.h"
#include "keylabels/PaletteList.h"

// Applies the entry to the key block at `keyLine`. False, with the document
// unchanged, when the key carries a picture. The text lines are taken as
// they are, however many and however long; `lineDelta` receives by how many
// lines the block grew (negative: shrank), which moves the blocks after it.
// DocumentError (the document unchanged) when the key block is damaged.
bool ApplyKeyLabel(StripDocument& document, qsizetype keyLine, const KeyLabelFormat& format,
                   const Lines& textLines, qsizetype* lineDelta = nullptr);
