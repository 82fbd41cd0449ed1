#pragma once
// Builds strip documents line by line for the document tests.

#include <QByteArray>
#include <QList>

#include "base/Lines.h"

// One key block of the current layout with the given texts (33 + n lines).
Lines KeyBlock(const QByteArray& keyNumber, const Lines& texts = {});
// A group header for `keys` keys followed by their blocks.
Lines Group(const QList<Lines>& keys);
// A whole strip block: separator line, six header lines, groups.
Lines StripBlock(int number, const QList<Lines>& groups, const QByteArray& extension = "100");
// A document of the given strip blocks with the version and count lines.
Lines Document(const QList<Lines>& strips);
// A document of `strips` strips, each one group of `keys` keys with texts.
Lines SimpleDocument(int strips, int keys = 2);
