#pragma once
// The strip document: every line of a data file as Shift_JIS bytes, with the
// saved copy that tells whether there are unsaved changes. Every change goes
// through Replace / Insert / Remove so that the index of separator lines
// stays right: finding strip n never scans the document.

#include <QByteArray>
#include <QList>
#include <vector>

#include "document/StripLayout.h"

class StripDocument {
 public:
  const Lines& lines() const { return lines_; }
  qsizetype size() const { return lines_.size(); }
  bool isEmpty() const { return lines_.isEmpty(); }
  const QByteArray& at(qsizetype i) const { return LineAt(lines_, i); }

  // Replaces every line; the saved copy is left alone.
  void SetLines(Lines lines);
  void Clear();
  void Replace(qsizetype i, const QByteArray& line);
  void Insert(qsizetype at, const QByteArray& line);
  void Insert(qsizetype at, const Lines& lines);
  void Append(const QByteArray& line) { Insert(lines_.size(), line); }
  void Append(const Lines& lines) { Insert(lines_.size(), lines); }
  void Remove(qsizetype at, qsizetype count = 1);

  // Unsaved changes: the lines differ from the saved copy.
  bool IsChanged() const { return lines_ != saved_; }
  void MarkSaved() { saved_ = lines_; }
  const Lines& SavedCopy() const { return saved_; }
  void ClearSavedCopy() { saved_.clear(); }

  // Line 1 as a count; 0 for an empty document. DocumentError when damaged.
  int StripCount() const;
  // Index of the first line equal to the separator line of strip n, or -1.
  // Constant time while the separators read 1, 2, ... in order; otherwise a
  // pass over the separator index (never over the document).
  qsizetype FindStrip(int n) const;
  // The highest strip number of any separator line, 0 when there is none.
  int HighestStripNumber() const;
  // Index of the separator line of strip n + 1, or the line count when
  // strip n is the last.
  qsizetype EndOfStrip(int n) const;

 private:
  void ShiftIndex(qsizetype from, qsizetype delta);
  // Brings the index up to date for line i; true when a separator came or went.
  bool IndexLine(qsizetype i);
  void RebuildIndex();
  void CountMisplaced();

  Lines lines_;
  Lines saved_;
  struct Separator {
    qsizetype line;  // index of a separator-looking line
    int number;      // the strip number it reads
  };
  // Every separator-looking line, in document order.
  std::vector<Separator> separators_;
  // How many entries of separators_ do not read their position + 1. While
  // it is 0, strip n is entry n - 1.
  size_t misplaced_ = 0;
};
