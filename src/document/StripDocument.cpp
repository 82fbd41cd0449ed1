#include "document/StripDocument.h"

#include <algorithm>
#include <utility>

void StripDocument::SetLines(Lines lines) {
  lines_ = std::move(lines);
  RebuildIndex();
}

void StripDocument::Clear() {
  lines_.clear();
  separators_.clear();
  misplaced_ = 0;
}

namespace {

auto FirstAtOrAfter(auto& separators, qsizetype line) {
  return std::lower_bound(separators.begin(), separators.end(), line,
                          [](const auto& s, qsizetype l) { return s.line < l; });
}

}  // namespace

void StripDocument::RebuildIndex() {
  separators_.clear();
  // Read through a const view: the lines are usually shared with the saved
  // copy, and a non-const access would copy the whole list.
  const Lines& lines = lines_;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (int n = StripNumberOfSeparator(lines[i]); n > 0) separators_.push_back({i, n});
  }
  CountMisplaced();
}

void StripDocument::CountMisplaced() {
  misplaced_ = 0;
  for (size_t i = 0; i < separators_.size(); ++i) {
    if (separators_[i].number != static_cast<int>(i) + 1) ++misplaced_;
  }
}

void StripDocument::ShiftIndex(qsizetype from, qsizetype delta) {
  for (auto it = FirstAtOrAfter(separators_, from); it != separators_.end(); ++it) it->line += delta;
}

bool StripDocument::IndexLine(qsizetype i) {
  auto it = FirstAtOrAfter(separators_, i);
  const bool listed = it != separators_.end() && it->line == i;
  const int number = StripNumberOfSeparator(std::as_const(lines_)[i]);
  if (number > 0 && listed) {
    // Renumbering in place (deleting strips does it to every later strip)
    // keeps the entry's position, so the misplaced count updates directly.
    const int expected = static_cast<int>(it - separators_.begin()) + 1;
    if (it->number != expected) --misplaced_;
    if (number != expected) ++misplaced_;
    it->number = number;
    return false;
  }
  if (number > 0) {
    separators_.insert(it, {i, number});
    return true;
  }
  if (listed) {
    separators_.erase(it);
    return true;
  }
  return false;
}

void StripDocument::Replace(qsizetype i, const QByteArray& line) {
  LineAt(lines_, i);
  lines_[i] = line;
  if (IndexLine(i)) CountMisplaced();
}

void StripDocument::Insert(qsizetype at, const QByteArray& line) { Insert(at, Lines{line}); }

void StripDocument::Insert(qsizetype at, const Lines& lines) {
  // A copy that shares the data, so that inserting a part of this very
  // document stays right while lines_ changes.
  const Lines added = lines;
  at = std::clamp<qsizetype>(at, 0, lines_.size());
  if (added.isEmpty()) return;
  ShiftIndex(at, added.size());
  if (at == lines_.size()) {
    lines_.append(added);
  } else {
    lines_.insert(at, added.size(), QByteArray());
    std::copy(added.begin(), added.end(), lines_.begin() + at);
  }
  bool membershipChanged = false;
  for (qsizetype i = at; i < at + added.size(); ++i) membershipChanged |= IndexLine(i);
  if (membershipChanged) CountMisplaced();
}

void StripDocument::Remove(qsizetype at, qsizetype count) {
  if (at < 0 || count <= 0 || at >= lines_.size()) return;
  count = std::min(count, lines_.size() - at);
  auto first = FirstAtOrAfter(separators_, at);
  auto last = FirstAtOrAfter(separators_, at + count);
  const bool membershipChanged = first != last;
  separators_.erase(first, last);
  ShiftIndex(at, -count);
  lines_.remove(at, count);
  if (membershipChanged) CountMisplaced();
}

int StripDocument::StripCount() const {
  if (lines_.isEmpty()) return 0;
  return ReadCount(lines_, 1);
}

qsizetype StripDocument::FindStrip(int n) const {
  if (n <= 0) return -1;
  if (misplaced_ == 0) {
    const size_t entry = static_cast<size_t>(n) - 1;
    return entry < separators_.size() ? separators_[entry].line : -1;
  }
  // A damaged document (or one halfway through a renumbering) may hold the
  // number elsewhere, or twice: the first one counts.
  for (const Separator& s : separators_) {
    if (s.number == n) return s.line;
  }
  return -1;
}

int StripDocument::HighestStripNumber() const {
  if (misplaced_ == 0) return static_cast<int>(separators_.size());
  int highest = 0;
  for (const Separator& s : separators_) highest = std::max(highest, s.number);
  return highest;
}

qsizetype StripDocument::EndOfStrip(int n) const {
  qsizetype next = FindStrip(n + 1);
  return next >= 1 ? next : lines_.size();
}
