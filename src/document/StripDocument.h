#pragma once
// The strip document: every line of a data file as Shift_JIS bytes, with the
// saved copy that tells whether there are unsaved changes. Every change goes
// through Replace / Insert / Remove so that the index of separator lines
// stays right: finding strip n never scans the document.

#include <QByteArray>
#include <QList>
#include <optional>
#include <unordered_map>
#include <vector>

#include "document/LineChange.h"
#include "document/StripLayout.h"

class StripDocument {
 public:
  const Lines& lines() const { return lines_; }
  qsizetype size() const { return lines_.size(); }
  bool isEmpty() const { return lines_.isEmpty(); }
  QByteArray at(qsizetype i) const { return LineAt(lines_, i); }

  // Replaces every line; the saved copy is left alone.
  void SetLines(Lines lines);
  void Clear();
  void Replace(qsizetype i, const QByteArray& line);
  // Replaces a key's text line, which the strip walk skips: the strip index
  // stays valid unless the old or the new line looks like a separator.
  void ReplaceTextLine(qsizetype i, const QByteArray& line);
  void Insert(qsizetype at, const QByteArray& line);
  void Insert(qsizetype at, const Lines& lines);
  void Append(const QByteArray& line) { Insert(lines_.size(), line); }
  void Append(const Lines& lines) { Insert(lines_.size(), lines); }
  void Remove(qsizetype at, qsizetype count = 1);

  // Makes `changes` in order, each as recorded. False, with the document
  // unchanged, when the lines a change would take out are not there as it
  // recorded them: the changes belong to another state of the document.
  bool Apply(const ChangeSet& changes);

  // While recording, every change is also added to the recording, so that
  // a command's changes can be taken back afterwards.
  void StartRecording();
  bool IsRecording() const { return recording_.has_value(); }
  // The changes since StartRecording; recording stops.
  ChangeSet TakeRecording();

  // Counts every change of the lines, so that a watcher can tell that
  // something changed without comparing them.
  quint64 Revision() const { return revision_; }

  // Unsaved changes: the lines differ from the saved copy.
  bool IsChanged() const { return lines_ != saved_; }
  void MarkSaved() { saved_ = lines_; }
  const Lines& SavedCopy() const { return saved_; }
  void ClearSavedCopy() { saved_.clear(); }

  // Line 1 as a count; 0 for an empty document. DocumentError when damaged.
  int StripCount() const;

  // A separator line at a strip boundary and the strip number it reads.
  struct Separator {
    qsizetype line;
    int number;
  };
  // The separator lines that open strips, in document order. The first is
  // the first separator-looking line below the two header lines; each next
  // one is where the strip before it ends when walked by its counts, so a
  // key text or header line that merely looks like a separator is none.
  // When a strip does not walk to a separator line (damage), the next
  // separator-looking line after its own is taken.
  const std::vector<Separator>& StripSeparators() const;
  // Index of the first strip separator line of strip n, or -1. Constant
  // time while the separators read 1, 2, ... in order; a hash lookup
  // otherwise. The index is brought up to date after changes on first use.
  qsizetype FindStrip(int n) const;
  // The highest strip number of any strip separator, 0 when there is none.
  int HighestStripNumber() const;
  // Index of the separator line of strip n + 1, or the line count when
  // strip n is the last.
  qsizetype EndOfStrip(int n) const;

 private:
  void ShiftIndex(qsizetype from, qsizetype delta);
  // Brings the separator-looking lines up to date for line i.
  void IndexLine(qsizetype i);
  void RebuildIndex();
  // The strip separators from the separator-looking lines, walked anew.
  void WalkStrips() const;
  // Keeps the strip index after lines [at, at + removed) became `inserted`
  // lines where the change stays inside one strip that still walks to the
  // next; otherwise the strips are walked anew on next use.
  void KeepStripIndex(qsizetype at, qsizetype removed, qsizetype inserted);
  bool ChangedStripsWalk() const;
  void Record(qsizetype at, Lines removed, Lines inserted, bool textOnly = false);
  bool Holds(qsizetype at, const Lines& expected) const;
  // Applies `changes` by building the lines anew in one pass: for change
  // sets too large to make one by one.
  bool ApplyInOnePass(const ChangeSet& changes);

  Lines lines_;
  Lines saved_;
  quint64 revision_ = 0;
  // Every separator-looking line, in document order, kept up to date by
  // each change.
  std::vector<Separator> candidates_;
  // Derived from candidates_ and the counts on first use after a change.
  struct StripIndex {
    bool valid = false;
    std::vector<Separator> separators;
    // While no separator is out of place, strip n is entry n - 1.
    bool inOrder = true;
    // Every strip walks by its counts to the next separator (or the end).
    bool allWalked = true;
    // Strips whose lines changed since the walk: each must still walk to
    // the next separator for the index to hold.
    std::vector<size_t> unwalked;
    int highest = 0;
    // First separator line of each number; filled only when out of order.
    std::unordered_map<int, qsizetype> firstLine;
  };
  mutable StripIndex strips_;
  std::optional<ChangeSet> recording_;
};
