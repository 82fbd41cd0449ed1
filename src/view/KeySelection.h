#pragma once
// Which keys of the laid-out strip are selected: one flag per key, and with
// every flag its mark (the detail text frame drawn 2 px wide while the key
// is selected, 1 px otherwise), set together through one callback so that
// flag and mark never disagree.

#include <functional>
#include <vector>

class KeySelection {
 public:
  // Called for every key whose flag changes, with its new state.
  using MarkSetter = std::function<void(int key, bool selected)>;

  void SetMarkSetter(MarkSetter setter) { markSetter_ = std::move(setter); }
  // A new layout of `keyCount` keys, none selected (their frames are new).
  void Reset(int keyCount);

  int KeyCount() const { return static_cast<int>(flags_.size()); }
  bool IsSelected(int k) const { return k >= 0 && k < KeyCount() && flags_[k] > 0; }
  int SelectedCount() const;
  // The selected keys in key order.
  std::vector<int> SelectedKeys() const;

  // Every selected key loses its flag and its mark.
  void Clear();
  void Select(int k);
  // Every key from `from` to `to` inclusive, in either direction; fixed keys
  // between the ends too.
  void SelectRange(int from, int to);
  void SelectAll();
  // A Ctrl+click: flips key k, except that the only selected key stays
  // selected. True when the flag changed.
  bool Toggle(int k);

 private:
  void Set(int k, bool selected);

  std::vector<int> flags_;  // 1 selected, 0 not
  MarkSetter markSetter_;
};
