#include "document/StripDocument.h"

#include <algorithm>

void StripDocument::SetLines(Lines lines) {
  lines_ = std::move(lines);
  RebuildIndex();
}

void StripDocument::Clear() {
  lines_.clear();
  separators_.clear();
}

namespace {

auto FirstAtOrAfter(auto& separators, qsizetype line) {
  return std::lower_bound(separators.begin(), separators.end(), line,
                          [](const auto& s, qsizetype l) { return s.line < l; });
}

}  // namespace

void StripDocument::RebuildIndex() {
  separators_.clear();
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    if (int n = StripNumberOfSeparator(lines_[i]); n > 0) separators_.push_back({i, n});
  }
}

void StripDocument::ShiftIndex(qsizetype from, qsizetype delta) {
  for (auto it = FirstAtOrAfter(separators_, from); it != separators_.end(); ++it) it->line += delta;
}

void StripDocument::IndexLine(qsizetype i) {
  auto it = FirstAtOrAfter(separators_, i);
  const bool listed = it != separators_.end() && it->line == i;
  const int number = StripNumberOfSeparator(lines_[i]);
  if (number > 0 && listed) it->number = number;
  if (number > 0 && !listed) separators_.insert(it, {i, number});
  if (number == 0 && listed) separators_.erase(it);
}

void StripDocument::Replace(qsizetype i, const QByteArray& line) {
  LineAt(lines_, i);
  lines_[i] = line;
  IndexLine(i);
}

void StripDocument::Insert(qsizetype at, const QByteArray& line) { Insert(at, Lines{line}); }

void StripDocument::Insert(qsizetype at, const Lines& lines) {
  at = std::clamp<qsizetype>(at, 0, lines_.size());
  if (lines.isEmpty()) return;
  ShiftIndex(at, lines.size());
  if (at == lines_.size()) {
    lines_.append(lines);
  } else {
    lines_.insert(at, lines.size(), QByteArray());
    std::copy(lines.begin(), lines.end(), lines_.begin() + at);
  }
  for (qsizetype i = at; i < at + lines.size(); ++i) IndexLine(i);
}

void StripDocument::Remove(qsizetype at, qsizetype count) {
  if (at < 0 || count <= 0 || at >= lines_.size()) return;
  count = std::min(count, lines_.size() - at);
  auto first = FirstAtOrAfter(separators_, at);
  auto last = FirstAtOrAfter(separators_, at + count);
  separators_.erase(first, last);
  ShiftIndex(at, -count);
  lines_.remove(at, count);
}

int StripDocument::StripCount() const {
  if (lines_.isEmpty()) return 0;
  return ReadCount(lines_, 1);
}

qsizetype StripDocument::FindStrip(int n) const {
  if (n <= 0) return -1;
  // In a sound document the separator of strip n is the n-th one; a damaged
  // one may hold the number elsewhere, or twice: the first one counts.
  const size_t guess = static_cast<size_t>(n) - 1;
  if (guess < separators_.size() && separators_[guess].number == n) {
    bool earlier = false;
    for (size_t i = 0; i < guess && !earlier; ++i) earlier = separators_[i].number == n;
    if (!earlier) return separators_[guess].line;
  }
  for (const Separator& s : separators_) {
    if (s.number == n) return s.line;
  }
  return -1;
}

qsizetype StripDocument::EndOfStrip(int n) const {
  qsizetype next = FindStrip(n + 1);
  return next >= 1 ? next : lines_.size();
}
