#pragma once
// The lines of a text file as bytes, compactly: a file's lines are parts of
// one immutable buffer holding the file's bytes, each known by an 8-byte
// entry (its offset and length), so a large file of short lines takes little
// more than its own size. A line changed or added later is held apart, as a
// QByteArray of its own, and its entry points to it.
//
// The list is kept in blocks of about a thousand entries, each block and
// the list of blocks implicitly shared: a copy costs nothing, and a change
// to one of two copies copies the list of blocks and the one block it
// touches, never every entry. Comparing two lists that share blocks skips
// the shared ones. A line read out is an ordinary QByteArray: a line of
// the buffer shares it and holds a reference to it, so it outlives the
// list, and copies itself before a change as any shared QByteArray does.

#include <QByteArray>
#include <QByteArrayView>
#include <QExplicitlySharedDataPointer>
#include <QList>
#include <QSharedData>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

class Lines {
 public:
  class const_iterator;
  using iterator = const_iterator;
  using value_type = QByteArray;
  using size_type = qsizetype;
  using difference_type = qsizetype;
  using reference = QByteArray;
  using const_reference = QByteArray;

  Lines();
  Lines(std::initializer_list<QByteArray> lines);
  // `count` copies of `line`.
  explicit Lines(qsizetype count, const QByteArray& line = QByteArray());
  Lines(const QList<QByteArray>& lines);  // NOLINT: converts as QList would
  Lines(const Lines& other) = default;
  Lines(Lines&& other) noexcept;
  Lines& operator=(const Lines& other) = default;
  Lines& operator=(Lines&& other) noexcept;
  ~Lines() = default;

  qsizetype size() const { return d_->size; }
  qsizetype count() const { return size(); }
  qsizetype length() const { return size(); }
  bool isEmpty() const { return d_->size == 0; }
  bool empty() const { return isEmpty(); }

  // Line i (0 <= i < size()) by value; the copy shares the bytes. Const, so
  // that `lines[i] = x` on a const list does not compile into a no-op.
  const QByteArray at(qsizetype i) const;
  const QByteArray operator[](qsizetype i) const { return at(i); }
  const QByteArray first() const { return at(0); }
  const QByteArray last() const { return at(size() - 1); }
  const QByteArray front() const { return first(); }
  const QByteArray back() const { return last(); }
  const QByteArray constFirst() const { return first(); }
  const QByteArray constLast() const { return last(); }
  // Line i, or `fallback` when there is no such line.
  QByteArray value(qsizetype i, const QByteArray& fallback = QByteArray()) const {
    return i >= 0 && i < size() ? at(i) : fallback;
  }
  // Line i without touching any reference count, valid until the list
  // changes or goes: for loops that only read.
  QByteArrayView view(qsizetype i) const;

  // Calls visit(i, view(i)) for every line i, in order: a walk over a large
  // list that finds each line's block once per block, not once per line.
  template <typename Visit>
  void ForEachView(Visit visit) const {
    qsizetype i = 0;
    for (const BlockPointer& block : d_->blocks) {
      for (qsizetype j = 0; j < block->size(); ++j) visit(i++, block->View(j));
    }
  }

  // Line i for a change in place, as QList's operator[]. The line is held
  // apart from then on (a QByteArray more); readers use at() or view().
  QByteArray& operator[](qsizetype i);

  const_iterator begin() const;
  const_iterator end() const;
  const_iterator cbegin() const;
  const_iterator cend() const;
  const_iterator constBegin() const;
  const_iterator constEnd() const;

  void replace(qsizetype i, const QByteArray& line);
  void append(const QByteArray& line);
  void append(const Lines& lines);
  // Takes the lines of a list no one else shares instead of copying them.
  void append(Lines&& lines) { insert(size(), std::move(lines)); }
  void push_back(const QByteArray& line) { append(line); }
  void prepend(const QByteArray& line) { insert(0, line); }
  void insert(qsizetype i, const QByteArray& line);
  void insert(qsizetype i, const Lines& lines);
  void insert(qsizetype i, Lines&& lines);
  // Lines `pos` to `pos + count` of `lines`, at i; lines of one buffer stay
  // entries of it.
  void insert(qsizetype i, const Lines& lines, qsizetype pos, qsizetype count);
  void append(const Lines& lines, qsizetype pos, qsizetype count) { insert(size(), lines, pos, count); }
  void insert(qsizetype i, qsizetype count, const QByteArray& line);
  void remove(qsizetype i, qsizetype count = 1);
  void removeAt(qsizetype i) { remove(i); }
  void removeFirst() { remove(0); }
  void removeLast() { remove(size() - 1); }
  QByteArray takeAt(qsizetype i);
  QByteArray takeFirst() { return takeAt(0); }
  QByteArray takeLast() { return takeAt(size() - 1); }
  // Lines from `pos`, `length` of them (all to the end when negative); the
  // copy shares the buffer.
  Lines mid(qsizetype pos, qsizetype length = -1) const;
  Lines first(qsizetype n) const { return mid(0, n); }
  Lines last(qsizetype n) const { return mid(size() - n, n); }
  Lines sliced(qsizetype pos) const { return mid(pos); }
  Lines sliced(qsizetype pos, qsizetype n) const { return mid(pos, n); }
  // The lines with `separator` between them, as QList<QByteArray>::join.
  QByteArray join(char separator) const {
    QByteArray joined;
    for (qsizetype i = 0; i < size(); ++i) {
      if (i > 0) joined += separator;
      joined += view(i);
    }
    return joined;
  }
  // Fewer lines drop the last ones; more add empty lines.
  void resize(qsizetype size);
  void reserve(qsizetype size);
  void clear();

  qsizetype indexOf(QByteArrayView line, qsizetype from = 0) const;
  bool contains(QByteArrayView line) const { return indexOf(line) >= 0; }

  QList<QByteArray> toList() const;

  Lines& operator+=(const QByteArray& line) { append(line); return *this; }
  Lines& operator+=(const Lines& lines) { append(lines); return *this; }
  Lines& operator+=(Lines&& lines) { append(std::move(lines)); return *this; }
  Lines& operator<<(const QByteArray& line) { append(line); return *this; }
  Lines& operator<<(const Lines& lines) { append(lines); return *this; }
  Lines& operator<<(Lines&& lines) { append(std::move(lines)); return *this; }
  friend Lines operator+(Lines a, const Lines& b) { a.append(b); return a; }

  friend bool operator==(const Lines& a, const Lines& b);
  friend bool operator!=(const Lines& a, const Lines& b) { return !(a == b); }

  // Lines held apart from the shared buffer (changed, added, or too long
  // for an entry of their own).
  qsizetype heldApartCount() const;

  // The lines of `bytes` split as SplitLines splits them, as parts of the
  // bytes themselves (SharedLines.h).
  friend Lines SplitLinesSharing(QByteArray bytes);

 private:
  // An entry: a line of its block's buffer, offset << kLengthBits | length;
  // or, with kApart set, the index of a line in the block's `apart`.
  using Entry = uint64_t;
  static constexpr int kLengthBits = 23;
  static constexpr int kOffsetBits = 40;
  static constexpr Entry kApart = Entry(1) << 63;
  static constexpr qsizetype kLongestPacked = (qsizetype(1) << kLengthBits) - 1;
  static constexpr qsizetype kFarthestPacked = (qsizetype(1) << kOffsetBits) - 1;
  // Blocks hold kBlockLines entries as made; changes let them grow to
  // kLargestBlock before they are split, and a block shrunk below
  // kSmallestBlock joins a neighbour.
  static constexpr int kBlockShift = 10;
  static constexpr qsizetype kBlockLines = qsizetype(1) << kBlockShift;
  static constexpr qsizetype kLargestBlock = 2 * kBlockLines;
  static constexpr qsizetype kSmallestBlock = kBlockLines / 4;

  // The lines held apart: a deque, so that a reference from operator[]
  // survives a later line held apart (`lines[i] = lines[j]`), made on first
  // use, as an empty deque already allocates.
  class ApartLines {
   public:
    QByteArray& operator[](size_t i) { return (*lines_)[i]; }
    const QByteArray& operator[](size_t i) const { return (*lines_)[i]; }
    size_t size() const { return lines_ ? lines_->size() : 0; }
    void push_back(QByteArray line) {
      if (!lines_) lines_.emplace();
      lines_->push_back(std::move(line));
    }

   private:
    std::optional<std::deque<QByteArray>> lines_;
  };

  static bool IsApart(Entry e) { return (e & kApart) != 0; }
  static qsizetype OffsetOf(Entry e) { return static_cast<qsizetype>(e >> kLengthBits); }
  static qsizetype LengthOf(Entry e) { return static_cast<qsizetype>(e & kLongestPacked); }
  static size_t SlotOf(Entry e) { return static_cast<size_t>(e & ~kApart); }
  static bool FitsEntry(qsizetype offset, qsizetype length) {
    return offset <= kFarthestPacked && length <= kLongestPacked;
  }
  static Entry Packed(qsizetype offset, qsizetype length) {
    return (static_cast<Entry>(offset) << kLengthBits) | static_cast<Entry>(length);
  }

  // A run of lines: entries into one buffer and the lines held apart.
  struct Block : QSharedData {
    // Never changed once lines point into it; mutable only because taking a
    // reference to it goes through QByteArray's non-const data_ptr().
    mutable QByteArray buffer;
    std::vector<Entry> entries;
    ApartLines apart;
    std::vector<size_t> freeApart;  // slots of `apart` no entry uses

    qsizetype size() const { return static_cast<qsizetype>(entries.size()); }
    QByteArrayView View(qsizetype i) const {
      const Entry e = entries[static_cast<size_t>(i)];
      if (IsApart(e)) return QByteArrayView(apart[SlotOf(e)]);
      return QByteArrayView(buffer.constData() + OffsetOf(e), LengthOf(e));
    }
    QByteArray At(qsizetype i) const;
    // The buffer's bytes from `offset`, `length` of them, as a QByteArray
    // holding a reference to the buffer.
    QByteArray SliceOfBuffer(qsizetype offset, qsizetype length) const;
    // The entry for `line`: a part of this block's buffer stays one,
    // anything else is held apart.
    Entry EntryFor(const QByteArray& line);
    Entry HoldApart(QByteArray line);
    void Release(Entry e);
    // Entries for lines `pos` to `pos + count` of `from` (another block) at
    // entry `at`.
    void InsertFrom(qsizetype at, const Block& from, qsizetype pos, qsizetype count);
    bool SharesBufferWith(const Block& other) const {
      return buffer.data_ptr().d_ptr() == other.buffer.data_ptr().d_ptr();
    }
  };
  using BlockPointer = QExplicitlySharedDataPointer<Block>;

  struct Data : QSharedData {
    std::vector<BlockPointer> blocks;  // none empty
    std::vector<qsizetype> starts;     // the first line of each block
    // The block holding line c << kBlockShift, from which the block of any
    // line is a step or two away.
    std::vector<uint32_t> coarse;
    qsizetype size = 0;
  };

  struct Place {
    size_t block;
    qsizetype offset;
  };
  // The block and entry of line i (0 <= i < size()).
  Place Locate(qsizetype i) const {
    const Data& d = *d_;
    size_t b = d.coarse[static_cast<size_t>(i >> kBlockShift)];
    while (b + 1 < d.blocks.size() && d.starts[b + 1] <= i) ++b;
    return {b, i - d.starts[b]};
  }
  // Where a line inserted at i goes: the end of the last block for i ==
  // size() (a block is made for an empty list).
  Place InsertionPlace(qsizetype i);
  // Block b, for a change: the list and the block no longer shared.
  Block& WritableBlock(size_t b);
  // Starts a block at line i (splitting the block there); returns its index.
  size_t CutAt(qsizetype i);
  // Lines `pos` to `pos + count` as blocks: whole blocks shared, parts copied.
  std::vector<BlockPointer> BlocksOf(qsizetype pos, qsizetype count) const;
  // Splits block b while it is larger than kLargestBlock.
  void SplitIfLarge(size_t b);
  // Removes block b when empty, joins it to a neighbour when small;
  // returns the first block index that changed.
  size_t TidyBlock(size_t b);
  // Brings starts, coarse and size up to date from block b on.
  void Reindex(size_t b);
  void detach() { d_.detach(); }

  QExplicitlySharedDataPointer<Data> d_;
};

class Lines::const_iterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = QByteArray;
  using difference_type = qsizetype;
  using reference = QByteArray;
  struct pointer {
    QByteArray line;
    const QByteArray* operator->() const { return &line; }
  };

  const_iterator() = default;
  const_iterator(const Lines* lines, qsizetype i) : lines_(lines), i_(i) {}

  QByteArray operator*() const { return lines_->at(i_); }
  pointer operator->() const { return {lines_->at(i_)}; }
  QByteArray operator[](qsizetype n) const { return lines_->at(i_ + n); }
  const_iterator& operator++() { ++i_; return *this; }
  const_iterator operator++(int) { const_iterator old = *this; ++i_; return old; }
  const_iterator& operator--() { --i_; return *this; }
  const_iterator operator--(int) { const_iterator old = *this; --i_; return old; }
  const_iterator& operator+=(qsizetype n) { i_ += n; return *this; }
  const_iterator& operator-=(qsizetype n) { i_ -= n; return *this; }
  friend const_iterator operator+(const_iterator it, qsizetype n) { return it += n; }
  friend const_iterator operator+(qsizetype n, const_iterator it) { return it += n; }
  friend const_iterator operator-(const_iterator it, qsizetype n) { return it -= n; }
  friend qsizetype operator-(const_iterator a, const_iterator b) { return a.i_ - b.i_; }
  friend bool operator==(const_iterator a, const_iterator b) { return a.i_ == b.i_; }
  friend auto operator<=>(const_iterator a, const_iterator b) { return a.i_ <=> b.i_; }

 private:
  const Lines* lines_ = nullptr;
  qsizetype i_ = 0;
};

inline Lines::const_iterator Lines::begin() const { return {this, 0}; }
inline Lines::const_iterator Lines::end() const { return {this, size()}; }
inline Lines::const_iterator Lines::cbegin() const { return begin(); }
inline Lines::const_iterator Lines::cend() const { return end(); }
inline Lines::const_iterator Lines::constBegin() const { return begin(); }
inline Lines::const_iterator Lines::constEnd() const { return end(); }

inline QByteArrayView Lines::view(qsizetype i) const {
  const Place p = Locate(i);
  return d_->blocks[p.block]->View(p.offset);
}
