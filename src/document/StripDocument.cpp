#include "document/StripDocument.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// Lines 0 and 1 are the format version and the strip count; a separator
// line above them opens no strip.
constexpr qsizetype kDocumentHeaderLines = 2;

auto FirstAtOrAfter(auto& separators, qsizetype line) {
  return std::lower_bound(separators.begin(), separators.end(), line,
                          [](const auto& s, qsizetype l) { return s.line < l; });
}

}  // namespace

void StripDocument::SetLines(Lines lines) {
  lines_ = std::move(lines);
  RebuildIndex();
}

void StripDocument::Clear() {
  lines_.clear();
  candidates_.clear();
  strips_.valid = false;
}

void StripDocument::RebuildIndex() {
  candidates_.clear();
  lines_.ForEachView([this](qsizetype i, QByteArrayView line) {
    if (int n = StripNumberOfSeparator(line); n > 0) candidates_.push_back({i, n});
  });
  strips_.valid = false;
}

void StripDocument::ShiftIndex(qsizetype from, qsizetype delta) {
  for (auto it = FirstAtOrAfter(candidates_, from); it != candidates_.end(); ++it) it->line += delta;
}

void StripDocument::IndexLine(qsizetype i) {
  auto it = FirstAtOrAfter(candidates_, i);
  const bool listed = it != candidates_.end() && it->line == i;
  const int number = StripNumberOfSeparator(lines_.view(i));
  if (number > 0 && listed) {
    it->number = number;
  } else if (number > 0) {
    candidates_.insert(it, {i, number});
  } else if (listed) {
    candidates_.erase(it);
  }
}

void StripDocument::Replace(qsizetype i, const QByteArray& line) {
  LineViewAt(lines_, i);
  lines_.replace(i, line);
  IndexLine(i);
  strips_.valid = false;
}

void StripDocument::ReplaceTextLine(qsizetype i, const QByteArray& line) {
  const bool separatorLike = StripNumberOfSeparator(LineViewAt(lines_, i)) > 0 || StripNumberOfSeparator(line) > 0;
  if (separatorLike) {
    Replace(i, line);
    return;
  }
  lines_.replace(i, line);
}

void StripDocument::Insert(qsizetype at, const QByteArray& line) { Insert(at, Lines{line}); }

void StripDocument::Insert(qsizetype at, const Lines& lines) {
  // A copy that shares the data, so that inserting a part of this very
  // document stays right while lines_ changes.
  const Lines added = lines;
  at = std::clamp<qsizetype>(at, 0, lines_.size());
  if (added.isEmpty()) return;
  ShiftIndex(at, added.size());
  lines_.insert(at, added);
  for (qsizetype i = at; i < at + added.size(); ++i) IndexLine(i);
  strips_.valid = false;
}

void StripDocument::Remove(qsizetype at, qsizetype count) {
  if (at < 0 || count <= 0 || at >= lines_.size()) return;
  count = std::min(count, lines_.size() - at);
  candidates_.erase(FirstAtOrAfter(candidates_, at), FirstAtOrAfter(candidates_, at + count));
  ShiftIndex(at, -count);
  lines_.remove(at, count);
  strips_.valid = false;
}

int StripDocument::StripCount() const {
  if (lines_.isEmpty()) return 0;
  return ReadCount(lines_, 1);
}

void StripDocument::WalkStrips() const {
  StripIndex index;
  index.valid = true;
  auto next = FirstAtOrAfter(candidates_, kDocumentHeaderLines);
  while (next != candidates_.end()) {
    const Separator separator = *next;
    index.separators.push_back(separator);
    // Each walk reads at most one count per group and key, and the walks
    // never overlap when they succeed, so the whole pass stays linear.
    const qsizetype end = WalkedStripEnd(lines_, separator.line + 1);
    auto atEnd = end > separator.line ? FirstAtOrAfter(candidates_, end) : candidates_.end();
    const bool walked = end == lines_.size() || (atEnd != candidates_.end() && atEnd->line == end);
    next = walked ? atEnd : std::next(next);
  }
  for (size_t i = 0; i < index.separators.size(); ++i) {
    const Separator& s = index.separators[i];
    index.highest = std::max(index.highest, s.number);
    if (static_cast<size_t>(s.number) != i + 1) index.inOrder = false;
  }
  if (!index.inOrder) {
    index.firstLine.reserve(index.separators.size());
    for (const Separator& s : index.separators) index.firstLine.try_emplace(s.number, s.line);
  }
  strips_ = std::move(index);
}

const std::vector<StripDocument::Separator>& StripDocument::StripSeparators() const {
  if (!strips_.valid) WalkStrips();
  return strips_.separators;
}

qsizetype StripDocument::FindStrip(int n) const {
  if (n <= 0) return -1;
  const std::vector<Separator>& separators = StripSeparators();
  if (strips_.inOrder) {
    const size_t entry = static_cast<size_t>(n) - 1;
    return entry < separators.size() ? separators[entry].line : -1;
  }
  // A damaged document (or one halfway through a renumbering) may hold the
  // number elsewhere, or twice: the first one counts.
  const auto it = strips_.firstLine.find(n);
  return it != strips_.firstLine.end() ? it->second : -1;
}

int StripDocument::HighestStripNumber() const {
  StripSeparators();
  return strips_.highest;
}

qsizetype StripDocument::EndOfStrip(int n) const {
  // Strip INT_MAX has no next strip to look for.
  const qsizetype next = n < INT_MAX ? FindStrip(n + 1) : -1;
  return next >= 1 ? next : lines_.size();
}
