#pragma once
// A walk over a whole strip document that reads every strip, group and key
// the way laying a strip out does, to find damage before a user meets it.

#include "document/CheckedRead.h"

struct DocumentTotals {
  int strips = 0;
  int keys = 0;
};

// Checks a document in the current layout: the version line, the strip
// count, strips 1 ... N back to back each behind its own separator line,
// every group header and key block with the numbers laying out reads, the
// group and key limits, and nothing after the last strip. Returns the
// totals, or throws DocumentError for the first damaged line. An empty
// document has no strips.
DocumentTotals CheckDocument(const Lines& lines);

// Checks the strip whose first header line is `stripStart`; returns its key
// count and sets `end` to the line after its last key block.
int CheckStrip(const Lines& lines, qsizetype stripStart, qsizetype* end);
