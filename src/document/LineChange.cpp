#include "document/LineChange.h"

#include <algorithm>

ChangeSet Inverse(const ChangeSet& changes) {
  ChangeSet inverse;
  inverse.reserve(changes.size());
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
    inverse.push_back({it->at, it->inserted, it->removed, it->textOnly});
  }
  return inverse;
}

void AppendChange(ChangeSet& changes, LineChange change) {
  if (!changes.empty()) {
    LineChange& last = changes.back();
    const qsizetype lastEnd = last.at + last.inserted.size();
    if (change.at == lastEnd) {
      last.removed += change.removed;
      last.inserted += change.inserted;
      last.textOnly = last.textOnly && change.textOnly;
      return;
    }
    // A change within the lines the last one put in (a line replaced twice,
    // as a replace-all does for two matches in one line) only alters them.
    if (change.at >= last.at && change.at + change.removed.size() <= lastEnd) {
      const qsizetype offset = change.at - last.at;
      Lines inserted = last.inserted.mid(0, offset);
      inserted += change.inserted;
      inserted.append(last.inserted, offset + change.removed.size(),
                      last.inserted.size() - offset - change.removed.size());
      last.inserted = std::move(inserted);
      last.textOnly = last.textOnly && change.textOnly;
      return;
    }
  }
  changes.push_back(std::move(change));
}

void DropUnchanged(ChangeSet& changes) {
  std::erase_if(changes, [](const LineChange& c) { return c.removed == c.inserted; });
}

bool ToOriginalRuns(const ChangeSet& changes, std::vector<OriginalRun>& runs) {
  runs.clear();
  runs.reserve(changes.size());
  // Ascending: each change starts at or after the new lines of the one
  // before; its place in the original lines is its place now less what the
  // changes before it added.
  bool ascending = true;
  qsizetype added = 0;
  for (size_t i = 0; i < changes.size() && ascending; ++i) {
    const LineChange& c = changes[i];
    if (i > 0 && c.at < changes[i - 1].at + changes[i - 1].inserted.size()) ascending = false;
    else runs.push_back({c.at - added, c.removed, c.inserted});
    added += c.delta();
  }
  if (ascending) return true;
  // Descending: each change ends at or before the place of the one before,
  // so the changes before it moved none of its lines.
  runs.clear();
  for (size_t i = 0; i < changes.size(); ++i) {
    const LineChange& c = changes[i];
    if (i > 0 && c.at + c.removed.size() > changes[i - 1].at) {
      runs.clear();
      return false;
    }
    runs.push_back({c.at, c.removed, c.inserted});
  }
  std::reverse(runs.begin(), runs.end());
  return true;
}

namespace {

// Each change lies wholly above the lines of the one before, as an undo of a
// forward walk does: the changes after one move it by what they added.
bool RunsBackward(const ChangeSet& changes) {
  for (size_t i = 1; i < changes.size(); ++i) {
    if (changes[i].at + changes[i].removed.size() > changes[i - 1].at) return false;
  }
  return changes.size() > 1;
}

std::vector<LineRange> BackwardRanges(const ChangeSet& changes) {
  std::vector<LineRange> ranges;
  ranges.reserve(changes.size());
  qsizetype addedAbove = 0;
  for (auto c = changes.rbegin(); c != changes.rend(); ++c) {
    // Reading from the topmost change: the ones before it in this loop lie
    // above it and were made after it.
    const qsizetype from = c->at + addedAbove;
    const LineRange range{from, from + c->inserted.size()};
    if (!ranges.empty() && ranges.back().to >= range.from) ranges.back().to = std::max(ranges.back().to, range.to);
    else ranges.push_back(range);
    addedAbove += c->delta();
  }
  return ranges;
}

}  // namespace

std::vector<LineRange> ChangedRanges(const ChangeSet& changes) {
  if (RunsBackward(changes)) return BackwardRanges(changes);
  std::vector<LineRange> ranges;
  for (const LineChange& c : changes) {
    LineRange added{c.at, c.at + c.inserted.size()};
    const qsizetype removedEnd = c.at + c.removed.size();
    // Most change sets run forward: nothing before the change moves.
    if (ranges.empty() || ranges.back().to < c.at) {
      ranges.push_back(added);
      continue;
    }
    std::vector<LineRange> moved;
    moved.reserve(ranges.size() + 1);
    for (LineRange r : ranges) {
      if (r.to < c.at) {
        moved.push_back(r);
      } else if (r.from > removedEnd) {
        moved.push_back({r.from + c.delta(), r.to + c.delta()});
      } else {
        // Overlapping or touching the lines taken out: one range with the new lines.
        added.from = std::min(added.from, r.from);
        added.to = std::max(added.to, r.to <= removedEnd ? c.at + c.inserted.size() : r.to + c.delta());
      }
    }
    auto place = std::lower_bound(moved.begin(), moved.end(), added.from,
                                  [](const LineRange& r, qsizetype from) { return r.from < from; });
    moved.insert(place, added);
    ranges = std::move(moved);
  }
  return ranges;
}
