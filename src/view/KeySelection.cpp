#include "view/KeySelection.h"

#include <algorithm>

void KeySelection::Reset(int keyCount) { flags_.assign(std::max(keyCount, 0), 0); }

int KeySelection::SelectedCount() const {
  return static_cast<int>(std::count_if(flags_.begin(), flags_.end(), [](int f) { return f > 0; }));
}

std::vector<int> KeySelection::SelectedKeys() const {
  std::vector<int> keys;
  for (int k = 0; k < KeyCount(); ++k) {
    if (flags_[k] > 0) keys.push_back(k);
  }
  return keys;
}

void KeySelection::Set(int k, bool selected) {
  if (k < 0 || k >= KeyCount() || (flags_[k] > 0) == selected) return;
  flags_[k] = selected ? 1 : 0;
  if (markSetter_) markSetter_(k, selected);
}

void KeySelection::Clear() {
  for (int k = 0; k < KeyCount(); ++k) Set(k, false);
}

void KeySelection::Select(int k) { Set(k, true); }

void KeySelection::SelectRange(int from, int to) {
  const int first = std::max(std::min(from, to), 0);
  const int last = std::min(std::max(from, to), KeyCount() - 1);
  for (int k = first; k <= last; ++k) Set(k, true);
}

void KeySelection::SelectAll() { SelectRange(0, KeyCount() - 1); }

bool KeySelection::Toggle(int k) {
  if (k < 0 || k >= KeyCount()) return false;
  if (IsSelected(k) && SelectedCount() < 2) return false;
  Set(k, !IsSelected(k));
  return true;
}
