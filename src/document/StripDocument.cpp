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
  if (recording_) Record(0, lines_, lines);
  lines_ = std::move(lines);
  ++revision_;
  RebuildIndex();
}

void StripDocument::Clear() {
  if (recording_) Record(0, lines_, Lines());
  lines_.clear();
  ++revision_;
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
  if (recording_) Record(i, Lines{lines_.at(i)}, Lines{line});
  lines_.replace(i, line);
  ++revision_;
  IndexLine(i);
  KeepStripIndex(i, 1, 1);
}

void StripDocument::ReplaceTextLine(qsizetype i, const QByteArray& line) {
  const bool separatorLike = StripNumberOfSeparator(LineViewAt(lines_, i)) > 0 || StripNumberOfSeparator(line) > 0;
  if (separatorLike) {
    Replace(i, line);
    return;
  }
  if (recording_) Record(i, Lines{lines_.at(i)}, Lines{line}, /*textOnly=*/true);
  lines_.replace(i, line);
  ++revision_;
}

void StripDocument::Insert(qsizetype at, const QByteArray& line) { Insert(at, Lines{line}); }

void StripDocument::Insert(qsizetype at, const Lines& lines) {
  // A copy that shares the data, so that inserting a part of this very
  // document stays right while lines_ changes.
  const Lines added = lines;
  at = std::clamp<qsizetype>(at, 0, lines_.size());
  if (added.isEmpty()) return;
  if (recording_) Record(at, Lines(), added);
  ShiftIndex(at, added.size());
  lines_.insert(at, added);
  ++revision_;
  // The separators among the new lines go into the index together: a
  // search per line would cost a list of many thousand new strips seconds.
  std::vector<Separator> found;
  added.ForEachView([&](qsizetype j, QByteArrayView line) {
    if (const int number = StripNumberOfSeparator(line); number > 0) found.push_back({at + j, number});
  });
  candidates_.insert(FirstAtOrAfter(candidates_, at), found.begin(), found.end());
  KeepStripIndex(at, 0, added.size());
}

void StripDocument::Remove(qsizetype at, qsizetype count) {
  if (at < 0 || count <= 0 || at >= lines_.size()) return;
  count = std::min(count, lines_.size() - at);
  if (recording_) Record(at, lines_.mid(at, count), Lines());
  candidates_.erase(FirstAtOrAfter(candidates_, at), FirstAtOrAfter(candidates_, at + count));
  ShiftIndex(at, -count);
  lines_.remove(at, count);
  ++revision_;
  KeepStripIndex(at, count, 0);
}

void StripDocument::KeepStripIndex(qsizetype at, qsizetype removed, qsizetype inserted) {
  StripIndex& index = strips_;
  if (!index.valid) return;
  index.valid = false;
  // Only where every strip walked to the next one can a change inside one
  // strip leave the others as they were.
  if (!index.allWalked || !index.inOrder) return;
  std::vector<Separator>& separators = index.separators;
  auto next = FirstAtOrAfter(separators, at);
  if (next == separators.begin()) return;  // above the first strip
  const qsizetype delta = inserted - removed;
  const qsizetype oldEnd = next == separators.end() ? lines_.size() - delta : next->line;
  if (at + removed > oldEnd) return;  // reaches the next strip's separator line
  if (delta != 0) {
    for (auto it = next; it != separators.end(); ++it) it->line += delta;
  }
  // The strip is walked again on first use: a key's lines are written one
  // by one, and only the end result needs to add up.
  const size_t changed = static_cast<size_t>(std::prev(next) - separators.begin());
  if (index.unwalked.empty() || index.unwalked.back() != changed) index.unwalked.push_back(changed);
  index.valid = true;
}

bool StripDocument::ChangedStripsWalk() const {
  const std::vector<Separator>& separators = strips_.separators;
  for (size_t s : strips_.unwalked) {
    const qsizetype end = s + 1 < separators.size() ? separators[s + 1].line : lines_.size();
    if (WalkedStripEnd(lines_, separators[s].line + 1) != end) return false;
  }
  return true;
}

void StripDocument::Record(qsizetype at, Lines removed, Lines inserted, bool textOnly) {
  AppendChange(*recording_, {at, std::move(removed), std::move(inserted), textOnly});
}

void StripDocument::StartRecording() { recording_.emplace(); }

ChangeSet StripDocument::TakeRecording() {
  ChangeSet changes = recording_ ? std::move(*recording_) : ChangeSet();
  recording_.reset();
  return changes;
}

bool StripDocument::Holds(qsizetype at, const Lines& expected) const {
  if (at < 0 || at > lines_.size() || expected.size() > lines_.size() - at) return false;
  for (qsizetype j = 0; j < expected.size(); ++j) {
    if (lines_.view(at + j) != expected.view(j)) return false;
  }
  return true;
}

bool StripDocument::Apply(const ChangeSet& changes) {
  // A change set this large that moves lines (a deletion of many strips) is
  // built anew in one pass rather than shifting the lines once per change;
  // replacements of lines by as many (a replace-all) cost their lines alone.
  constexpr size_t kOnePassFrom = 64;
  const bool movesLines = std::any_of(changes.begin(), changes.end(), [](const LineChange& c) { return c.delta() != 0; });
  // The changes are recorded as given, not line by line as they are made.
  std::optional<ChangeSet> recording = std::exchange(recording_, std::nullopt);
  bool applied = movesLines && changes.size() >= kOnePassFrom && ApplyInOnePass(changes);
  if (!applied) {
    applied = true;
    size_t made = 0;
    for (; made < changes.size(); ++made) {
      const LineChange& c = changes[made];
      if (!Holds(c.at, c.removed)) break;
      if (c.removed.size() == c.inserted.size()) {
        for (qsizetype j = 0; j < c.inserted.size(); ++j) {
          if (c.textOnly) ReplaceTextLine(c.at + j, c.inserted.at(j));
          else Replace(c.at + j, c.inserted.at(j));
        }
      } else {
        Remove(c.at, c.removed.size());
        Insert(c.at, c.inserted);
      }
    }
    if (made < changes.size()) {
      // Back to where the set started: the changes made so far, taken back.
      const ChangeSet back = Inverse(ChangeSet(changes.begin(), changes.begin() + static_cast<std::ptrdiff_t>(made)));
      for (const LineChange& c : back) {
        Remove(c.at, c.removed.size());
        Insert(c.at, c.inserted);
      }
      applied = false;
    }
  }
  recording_ = std::move(recording);
  if (applied && recording_) {
    for (const LineChange& c : changes) AppendChange(*recording_, c);
  }
  return applied;
}

bool StripDocument::ApplyInOnePass(const ChangeSet& changes) {
  std::vector<OriginalRun> runs;
  if (!ToOriginalRuns(changes, runs)) return false;
  for (const OriginalRun& run : runs) {
    if (!Holds(run.from, run.removed)) return false;
  }
  Lines result;
  result.reserve(lines_.size());
  qsizetype kept = 0;
  for (const OriginalRun& run : runs) {
    result.append(lines_, kept, run.from - kept);
    result.append(run.inserted);
    kept = run.from + run.removed.size();
  }
  result.append(lines_, kept, lines_.size() - kept);
  lines_ = std::move(result);
  ++revision_;
  RebuildIndex();
  return true;
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
    if (!walked) index.allWalked = false;
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
  if (strips_.valid && !strips_.unwalked.empty()) {
    if (!ChangedStripsWalk()) strips_.valid = false;
    strips_.unwalked.clear();
  }
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
