#pragma once
// A change to a strip document as a replacement of a run of lines: where it
// happened, the lines taken out and the lines put in. Every change the
// document makes can be said this way, and taken back by its inverse, so
// the undo history holds only what changed, never a copy of the document.

#include <vector>

#include "base/Lines.h"

struct LineChange {
  qsizetype at = 0;  // index of the first line taken out (or of the first put in)
  Lines removed;
  Lines inserted;
  // Every line taken out and put in is a key text line: the strip walk is
  // unaffected by a replacement of one for another.
  bool textOnly = false;

  qsizetype delta() const { return inserted.size() - removed.size(); }
};

// Changes in the order they were made: each one's `at` counts the lines as
// the changes before it left them.
using ChangeSet = std::vector<LineChange>;

// The changes that take `changes` back, in the order to make them.
ChangeSet Inverse(const ChangeSet& changes);

// Adds `change` to `changes`, joining it to the last change when it starts
// right where that one's new lines end, so that a key's lines written one by
// one make one change, or when it lies within those new lines.
void AppendChange(ChangeSet& changes, LineChange change);

// Leaves out the changes that put back the very lines they took out.
void DropUnchanged(ChangeSet& changes);

// The same changes as replacements of runs of the document as it was before
// any of them, ascending and not overlapping: possible when each change lies
// wholly below the lines of the one before (or wholly above them). Empty
// when they cross.
struct OriginalRun {
  qsizetype from = 0;  // first line taken out, in the original lines
  Lines removed;
  Lines inserted;
};
bool ToOriginalRuns(const ChangeSet& changes, std::vector<OriginalRun>& runs);

// Where the lines a change set put in (or took out) now lie, as half-open
// line ranges of the changed document, in ascending order, merged where they
// touch. A change that only took lines out gives an empty range at its place.
struct LineRange {
  qsizetype from = 0;
  qsizetype to = 0;
};
std::vector<LineRange> ChangedRanges(const ChangeSet& changes);
