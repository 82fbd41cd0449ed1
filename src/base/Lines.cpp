#include "base/Lines.h"

#include <algorithm>
#include <utility>

namespace {

// The empty list every new Lines starts from, so that making one allocates
// nothing; the first change copies it.
template <typename Data>
const QExplicitlySharedDataPointer<Data>& SharedEmpty() {
  static const QExplicitlySharedDataPointer<Data> empty(new Data);
  return empty;
}

}  // namespace

// --- Blocks ---------------------------------------------------------------

QByteArray Lines::Block::At(qsizetype i) const {
  const Entry e = entries[static_cast<size_t>(i)];
  if (IsApart(e)) return apart[SlotOf(e)];
  return SliceOfBuffer(OffsetOf(e), LengthOf(e));
}

QByteArray Lines::Block::SliceOfBuffer(qsizetype offset, qsizetype length) const {
  // An empty line needs no part of the buffer (and keeps it from lasting).
  if (length == 0) return QByteArray();
  QByteArray::DataPointer& whole = buffer.data_ptr();
  whole.ref();  // the reference the slice's data pointer takes over
  return QByteArray(QByteArray::DataPointer(whole.d_ptr(), whole.data() + offset, length));
}

Lines::Entry Lines::Block::HoldApart(QByteArray line) {
  size_t slot;
  if (!freeApart.empty()) {
    slot = freeApart.back();
    freeApart.pop_back();
    apart[slot] = std::move(line);
  } else {
    slot = apart.size();
    apart.push_back(std::move(line));
  }
  return kApart | static_cast<Entry>(slot);
}

void Lines::Block::Release(Entry e) {
  if (!IsApart(e)) return;
  apart[SlotOf(e)] = QByteArray();
  freeApart.push_back(SlotOf(e));
}

Lines::Entry Lines::Block::EntryFor(const QByteArray& line) {
  if (line.isEmpty()) return Packed(0, 0);
  // A line read out of this very buffer (copied within the document, or
  // into a list made from it) becomes an entry again. It must end where a
  // line of the buffer ends, before a byte 00, as every line read out does.
  QByteArray::DataPointer& whole = buffer.data_ptr();
  QByteArray::DataPointer& part = const_cast<QByteArray&>(line).data_ptr();
  if (whole.d_ptr() != nullptr && part.d_ptr() == whole.d_ptr()) {
    const qsizetype offset = line.constData() - whole.data();
    const qsizetype end = offset + line.size();
    if (offset >= 0 && end <= whole.size && whole.data()[end] == '\0' && FitsEntry(offset, line.size())) {
      return Packed(offset, line.size());
    }
  }
  return HoldApart(line);
}

void Lines::Block::InsertFrom(qsizetype at, const Block& from, qsizetype pos, qsizetype count) {
  // A block without a buffer (only empty lines and lines apart, whose
  // entries fit any buffer) takes the other's.
  if (buffer.data_ptr().d_ptr() == nullptr) buffer = from.buffer;
  const bool sameBuffer = SharesBufferWith(from);
  std::vector<Entry> added(static_cast<size_t>(count));
  for (qsizetype i = 0; i < count; ++i) {
    const Entry e = from.entries[static_cast<size_t>(pos + i)];
    if (!IsApart(e) && (sameBuffer || LengthOf(e) == 0)) {
      added[static_cast<size_t>(i)] = e;
    } else if (!IsApart(e)) {
      added[static_cast<size_t>(i)] = HoldApart(from.SliceOfBuffer(OffsetOf(e), LengthOf(e)));
    } else {
      added[static_cast<size_t>(i)] = HoldApart(from.apart[SlotOf(e)]);
    }
  }
  entries.insert(entries.begin() + at, added.begin(), added.end());
}

// --- The list of blocks -----------------------------------------------------

Lines::Place Lines::InsertionPlace(qsizetype i) {
  if (i < size()) return Locate(i);
  if (d_->blocks.empty()) {
    detach();
    d_->blocks.emplace_back(new Block);
    d_->starts.push_back(0);
  }
  const size_t last = d_->blocks.size() - 1;
  return {last, d_->blocks[last]->size()};
}

Lines::Block& Lines::WritableBlock(size_t b) {
  detach();
  d_->blocks[b].detach();
  return *d_->blocks[b];
}

size_t Lines::CutAt(qsizetype i) {
  if (i >= size()) return d_->blocks.size();
  const Place p = Locate(i);
  if (p.offset == 0) return p.block;
  detach();
  const Block& whole = *d_->blocks[p.block];
  BlockPointer left(new Block);
  BlockPointer right(new Block);
  left->InsertFrom(0, whole, 0, p.offset);
  right->InsertFrom(0, whole, p.offset, whole.size() - p.offset);
  d_->blocks[p.block] = left;
  d_->blocks.insert(d_->blocks.begin() + static_cast<qsizetype>(p.block) + 1, right);
  d_->starts.insert(d_->starts.begin() + static_cast<qsizetype>(p.block) + 1, i);
  Reindex(p.block);
  return p.block + 1;
}

std::vector<Lines::BlockPointer> Lines::BlocksOf(qsizetype pos, qsizetype count) const {
  std::vector<BlockPointer> blocks;
  if (count <= 0) return blocks;
  Place p = Locate(pos);
  while (count > 0) {
    const BlockPointer& block = d_->blocks[p.block];
    const qsizetype n = std::min(count, block->size() - p.offset);
    if (p.offset == 0 && n == block->size()) {
      blocks.push_back(block);
    } else {
      BlockPointer part(new Block);
      part->InsertFrom(0, *block, p.offset, n);
      blocks.push_back(part);
    }
    count -= n;
    p = {p.block + 1, 0};
  }
  return blocks;
}

void Lines::SplitIfLarge(size_t b) {
  if (d_->blocks[b]->size() <= kLargestBlock) return;
  const BlockPointer whole = d_->blocks[b];
  std::vector<BlockPointer> parts;
  for (qsizetype from = 0; from < whole->size(); from += kBlockLines) {
    BlockPointer part(new Block);
    part->InsertFrom(0, *whole, from, std::min(kBlockLines, whole->size() - from));
    parts.push_back(part);
  }
  d_->blocks[b] = parts.front();
  d_->blocks.insert(d_->blocks.begin() + static_cast<qsizetype>(b) + 1, parts.begin() + 1, parts.end());
  d_->starts.insert(d_->starts.begin() + static_cast<qsizetype>(b) + 1, parts.size() - 1, 0);
}

size_t Lines::TidyBlock(size_t b) {
  std::vector<BlockPointer>& blocks = d_->blocks;
  if (b >= blocks.size()) return b;
  if (blocks[b]->size() == 0) {
    blocks.erase(blocks.begin() + static_cast<qsizetype>(b));
    d_->starts.erase(d_->starts.begin() + static_cast<qsizetype>(b));
    return b;
  }
  if (blocks[b]->size() >= kSmallestBlock || blocks.size() == 1) return b;
  // Joined to the smaller neighbour, when the two fit one block.
  const bool hasLeft = b > 0, hasRight = b + 1 < blocks.size();
  const bool left = hasLeft && (!hasRight || blocks[b - 1]->size() <= blocks[b + 1]->size());
  const size_t first = left ? b - 1 : b;
  const Block& a = *blocks[first];
  const Block& z = *blocks[first + 1];
  if (a.size() + z.size() > kLargestBlock) return b;
  BlockPointer joined(new Block);
  joined->InsertFrom(0, a, 0, a.size());
  joined->InsertFrom(joined->size(), z, 0, z.size());
  blocks[first] = joined;
  blocks.erase(blocks.begin() + static_cast<qsizetype>(first) + 1);
  d_->starts.erase(d_->starts.begin() + static_cast<qsizetype>(first) + 1);
  return first;
}

void Lines::Reindex(size_t b) {
  Data& d = *d_;
  d.starts.resize(d.blocks.size());
  qsizetype line = b == 0 || b > d.blocks.size() ? 0 : d.starts[b - 1] + d.blocks[b - 1]->size();
  if (b > d.blocks.size()) b = 0;
  for (size_t i = b; i < d.blocks.size(); ++i) {
    d.starts[i] = line;
    line += d.blocks[i]->size();
  }
  d.size = line;
  // The coarse entries from the one holding block b's first line on.
  const size_t coarseCount = static_cast<size_t>((d.size + kBlockLines - 1) >> kBlockShift);
  const size_t firstCoarse = b < d.blocks.size() ? static_cast<size_t>(d.starts[b] >> kBlockShift) : coarseCount;
  d.coarse.resize(coarseCount);
  size_t block = std::min(b, d.blocks.empty() ? size_t(0) : d.blocks.size() - 1);
  for (size_t c = firstCoarse; c < coarseCount; ++c) {
    const qsizetype first = static_cast<qsizetype>(c) << kBlockShift;
    while (block > 0 && d.starts[block] > first) --block;
    while (block + 1 < d.blocks.size() && d.starts[block + 1] <= first) ++block;
    d.coarse[c] = static_cast<uint32_t>(block);
  }
}

// --- Lines ------------------------------------------------------------------

Lines::Lines() : d_(SharedEmpty<Data>()) {}

Lines::Lines(std::initializer_list<QByteArray> lines) : Lines() {
  for (const QByteArray& line : lines) append(line);
}

Lines::Lines(qsizetype count, const QByteArray& line) : Lines() { insert(0, count, line); }

Lines::Lines(const QList<QByteArray>& lines) : Lines() {
  for (const QByteArray& line : lines) append(line);
}

// A moved-from list is an empty one, as a moved-from QList.
Lines::Lines(Lines&& other) noexcept : d_(SharedEmpty<Data>()) { d_.swap(other.d_); }

Lines& Lines::operator=(Lines&& other) noexcept {
  d_.swap(other.d_);
  return *this;
}

const QByteArray Lines::at(qsizetype i) const {
  Q_ASSERT(i >= 0 && i < size());
  const Place p = Locate(i);
  return d_->blocks[p.block]->At(p.offset);
}

QByteArray& Lines::operator[](qsizetype i) {
  Q_ASSERT(i >= 0 && i < size());
  const Place p = Locate(i);
  Block& block = WritableBlock(p.block);
  Entry& e = block.entries[static_cast<size_t>(p.offset)];
  if (!IsApart(e)) e = block.HoldApart(block.SliceOfBuffer(OffsetOf(e), LengthOf(e)));
  return block.apart[SlotOf(e)];
}

void Lines::replace(qsizetype i, const QByteArray& line) {
  Q_ASSERT(i >= 0 && i < size());
  // The line may be one of this list's own, held apart: keep it first.
  const QByteArray kept = line;
  const Place p = Locate(i);
  Block& block = WritableBlock(p.block);
  const Entry e = block.entries[static_cast<size_t>(p.offset)];
  if (IsApart(e) && !kept.isEmpty()) {
    block.apart[SlotOf(e)] = kept;
    return;
  }
  block.Release(e);
  block.entries[static_cast<size_t>(p.offset)] = block.EntryFor(kept);
}

void Lines::append(const QByteArray& line) { insert(size(), line); }

void Lines::append(const Lines& lines) { insert(size(), lines); }

void Lines::insert(qsizetype i, const QByteArray& line) { insert(i, 1, line); }

void Lines::insert(qsizetype i, qsizetype count, const QByteArray& line) {
  Q_ASSERT(i >= 0 && i <= size() && count >= 0);
  if (count == 0) return;
  // `line` may be one of this list's lines held apart, which a split moves.
  const QByteArray kept = line;
  const Place p = InsertionPlace(i);
  Block& block = WritableBlock(p.block);
  std::vector<Entry> entries(static_cast<size_t>(count));
  for (Entry& e : entries) e = block.EntryFor(kept);
  block.entries.insert(block.entries.begin() + p.offset, entries.begin(), entries.end());
  SplitIfLarge(p.block);
  Reindex(p.block);
}

void Lines::insert(qsizetype i, const Lines& lines) { insert(i, lines, 0, lines.size()); }

void Lines::insert(qsizetype i, const Lines& lines, qsizetype pos, qsizetype count) {
  Q_ASSERT(i >= 0 && i <= size() && pos >= 0 && count >= 0 && pos + count <= lines.size());
  if (count == 0) return;
  // Hold the other list (it may be this one) while this one changes.
  const Lines added = lines;
  if (count < kBlockLines) {
    // A few lines go into the block at i.
    const Place p = InsertionPlace(i);
    Block& block = WritableBlock(p.block);
    qsizetype at = p.offset;
    Place from = added.Locate(pos);
    for (qsizetype left = count; left > 0; from = {from.block + 1, 0}) {
      const Block& source = *added.d_->blocks[from.block];
      const qsizetype n = std::min(left, source.size() - from.offset);
      block.InsertFrom(at, source, from.offset, n);
      at += n;
      left -= n;
    }
    SplitIfLarge(p.block);
    Reindex(p.block);
    return;
  }
  // Many lines: their blocks are shared, only the parts at the ends copied.
  const size_t b = CutAt(i);
  const std::vector<BlockPointer> blocks = added.BlocksOf(pos, count);
  detach();
  d_->blocks.insert(d_->blocks.begin() + static_cast<qsizetype>(b), blocks.begin(), blocks.end());
  d_->starts.insert(d_->starts.begin() + static_cast<qsizetype>(b), blocks.size(), 0);
  // The seams, from the right so that the indices on the left hold.
  const size_t end = b + blocks.size();
  size_t changed = b;
  for (size_t s : {end, end - 1, b}) changed = std::min(changed, TidyBlock(s));
  if (b > 0) changed = std::min(changed, TidyBlock(b - 1));
  Reindex(changed);
}

void Lines::insert(qsizetype i, Lines&& lines) {
  Q_ASSERT(i >= 0 && i <= size());
  if (isEmpty() && lines.d_ != d_) {
    *this = std::move(lines);
    return;
  }
  insert(i, std::as_const(lines));
  if (lines.d_ != d_) lines.clear();
}

void Lines::remove(qsizetype i, qsizetype count) {
  Q_ASSERT(i >= 0 && count >= 0 && i + count <= size());
  if (count == 0) return;
  const Place first = Locate(i);
  if (first.offset + count <= d_->blocks[first.block]->size()) {
    // Within one block.
    Block& block = WritableBlock(first.block);
    const auto from = block.entries.begin() + first.offset;
    std::for_each(from, from + count, [&block](Entry e) { block.Release(e); });
    block.entries.erase(from, from + count);
    Reindex(TidyBlock(first.block));
    return;
  }
  const size_t b = CutAt(i);
  const size_t end = CutAt(i + count);
  detach();
  d_->blocks.erase(d_->blocks.begin() + static_cast<qsizetype>(b), d_->blocks.begin() + static_cast<qsizetype>(end));
  d_->starts.erase(d_->starts.begin() + static_cast<qsizetype>(b), d_->starts.begin() + static_cast<qsizetype>(end));
  size_t changed = TidyBlock(b);
  if (b > 0) changed = std::min(changed, TidyBlock(b - 1));
  Reindex(changed);
}

QByteArray Lines::takeAt(qsizetype i) {
  QByteArray line = at(i);
  remove(i);
  return line;
}

Lines Lines::mid(qsizetype pos, qsizetype length) const {
  const qsizetype n = size();
  if (pos < 0) {
    if (length >= 0) length += pos;
    pos = 0;
  }
  if (pos >= n || length == 0) return Lines();
  if (length < 0 || length > n - pos) length = n - pos;
  if (pos == 0 && length == n) return *this;
  Lines part;
  part.insert(0, *this, pos, length);
  return part;
}

void Lines::resize(qsizetype size) {
  if (size < this->size()) {
    remove(size, this->size() - size);
  } else if (size > this->size()) {
    insert(this->size(), size - this->size(), QByteArray());
  }
}

// Blocks are allocated as the list grows; there is nothing to reserve.
void Lines::reserve(qsizetype) {}

void Lines::clear() { *this = Lines(); }

qsizetype Lines::indexOf(QByteArrayView line, qsizetype from) const {
  for (qsizetype i = std::max<qsizetype>(from, 0); i < size(); ++i) {
    if (view(i) == line) return i;
  }
  return -1;
}

QList<QByteArray> Lines::toList() const {
  QList<QByteArray> list;
  list.reserve(size());
  for (const BlockPointer& block : d_->blocks) {
    for (qsizetype i = 0; i < block->size(); ++i) list.append(block->At(i));
  }
  return list;
}

qsizetype Lines::heldApartCount() const {
  qsizetype count = 0;
  for (const BlockPointer& block : d_->blocks) {
    count += static_cast<qsizetype>(block->apart.size() - block->freeApart.size());
  }
  return count;
}

bool operator==(const Lines& a, const Lines& b) {
  if (a.d_ == b.d_) return true;
  if (a.size() != b.size()) return false;
  // Two lists of one document (it and its saved copy, or a step kept for
  // undo) share most blocks: a shared block at the same line is equal.
  // Elsewhere equal entries of one buffer are equal lines.
  Lines::Place pa{0, 0}, pb{0, 0};
  for (qsizetype line = 0; line < a.size();) {
    const Lines::Block& x = *a.d_->blocks[pa.block];
    const Lines::Block& y = *b.d_->blocks[pb.block];
    const qsizetype n = std::min(x.size() - pa.offset, y.size() - pb.offset);
    if (&x != &y || pa.offset != pb.offset) {
      const bool sameBuffer = x.SharesBufferWith(y);
      for (qsizetype i = 0; i < n; ++i) {
        const Lines::Entry e = x.entries[static_cast<size_t>(pa.offset + i)];
        if (sameBuffer && !Lines::IsApart(e) && e == y.entries[static_cast<size_t>(pb.offset + i)]) continue;
        if (x.View(pa.offset + i) != y.View(pb.offset + i)) return false;
      }
    }
    line += n;
    pa.offset += n;
    pb.offset += n;
    if (pa.offset == x.size()) pa = {pa.block + 1, 0};
    if (pb.offset == y.size()) pb = {pb.block + 1, 0};
  }
  return true;
}
