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

Lines::Lines() : d_(SharedEmpty<Data>()) {}

Lines::Lines(std::initializer_list<QByteArray> lines) : Lines() {
  reserve(static_cast<qsizetype>(lines.size()));
  for (const QByteArray& line : lines) append(line);
}

Lines::Lines(qsizetype count, const QByteArray& line) : Lines() { insert(0, count, line); }

Lines::Lines(const QList<QByteArray>& lines) : Lines() {
  reserve(lines.size());
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
  const Entry e = d_->entries[static_cast<size_t>(i)];
  if (IsApart(e)) return d_->apart[SlotOf(e)];
  return SliceOfBuffer(OffsetOf(e), LengthOf(e));
}

QByteArray Lines::SliceOfBuffer(qsizetype offset, qsizetype length) const {
  // An empty line needs no part of the buffer (and keeps it from lasting).
  if (length == 0) return QByteArray();
  QByteArray::DataPointer& whole = d_->buffer.data_ptr();
  whole.ref();  // the reference the slice's data pointer takes over
  return QByteArray(QByteArray::DataPointer(whole.d_ptr(), whole.data() + offset, length));
}

QByteArray& Lines::operator[](qsizetype i) {
  Q_ASSERT(i >= 0 && i < size());
  detach();
  Entry& e = d_->entries[static_cast<size_t>(i)];
  if (!IsApart(e)) e = HoldApart(SliceOfBuffer(OffsetOf(e), LengthOf(e)));
  return d_->apart[SlotOf(e)];
}

Lines::Entry Lines::HoldApart(QByteArray line) {
  size_t slot;
  if (!d_->freeApart.empty()) {
    slot = d_->freeApart.back();
    d_->freeApart.pop_back();
    d_->apart[slot] = std::move(line);
  } else {
    slot = d_->apart.size();
    d_->apart.push_back(std::move(line));
  }
  return kApart | static_cast<Entry>(slot);
}

void Lines::Release(Entry e) {
  if (!IsApart(e)) return;
  d_->apart[SlotOf(e)] = QByteArray();
  d_->freeApart.push_back(SlotOf(e));
}

Lines::Entry Lines::EntryFor(const QByteArray& line) {
  if (line.isEmpty()) return Packed(0, 0);
  // A line read out of this very buffer (copied within the document, or
  // into a list made from it) becomes an entry again. It must end where a
  // line of the buffer ends, before a byte 00, as every line read out does.
  QByteArray::DataPointer& whole = d_->buffer.data_ptr();
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

void Lines::CopyEntries(const Lines& other, qsizetype pos, qsizetype count, Entry* to, bool takeApart) {
  // A list without a buffer (only empty lines and lines apart, whose
  // entries fit any buffer) takes the other's.
  QByteArray::DataPointer& theirs = other.d_->buffer.data_ptr();
  if (d_->buffer.data_ptr().d_ptr() == nullptr) d_->buffer = other.d_->buffer;
  const bool sameBuffer = theirs.d_ptr() == d_->buffer.data_ptr().d_ptr();
  for (qsizetype i = pos; i < pos + count; ++i) {
    const Entry e = other.d_->entries[static_cast<size_t>(i)];
    if (!IsApart(e) && (sameBuffer || LengthOf(e) == 0)) {
      *to++ = e;
    } else {
      if (!IsApart(e)) {
        *to++ = HoldApart(other.at(i));
      } else if (takeApart) {
        *to++ = HoldApart(std::move(other.d_->apart[SlotOf(e)]));
      } else {
        *to++ = HoldApart(other.d_->apart[SlotOf(e)]);
      }
    }
  }
}

void Lines::replace(qsizetype i, const QByteArray& line) {
  Q_ASSERT(i >= 0 && i < size());
  // The line may be one of this list's own, held apart: keep it first.
  const QByteArray kept = line;
  detach();
  Entry& e = d_->entries[static_cast<size_t>(i)];
  if (IsApart(e) && !kept.isEmpty()) {
    d_->apart[SlotOf(e)] = kept;
    return;
  }
  Release(e);
  d_->entries[static_cast<size_t>(i)] = EntryFor(kept);
}

void Lines::append(const QByteArray& line) { insert(size(), line); }

void Lines::append(const Lines& lines) { insert(size(), lines); }

void Lines::insert(qsizetype i, const QByteArray& line) {
  Q_ASSERT(i >= 0 && i <= size());
  // `line` may be one of this list's lines held apart: a reference to it
  // survives both the copy on detach (the old data lasts while shared) and
  // a line more held apart (a deque keeps its elements in place).
  detach();
  const Entry e = EntryFor(line);
  d_->entries.insert(d_->entries.begin() + i, e);
}

void Lines::insert(qsizetype i, const Lines& lines) { insert(i, lines, 0, lines.size()); }

void Lines::insert(qsizetype i, const Lines& lines, qsizetype pos, qsizetype count) {
  Q_ASSERT(i >= 0 && i <= size() && pos >= 0 && count >= 0 && pos + count <= lines.size());
  if (count == 0) return;
  // Hold the other list (it may be this one) while this one changes.
  const Lines added = lines;
  detach();
  const auto at = d_->entries.insert(d_->entries.begin() + i, static_cast<size_t>(count), Entry(0));
  CopyEntries(added, pos, count, &*at);
}

void Lines::insert(qsizetype i, Lines&& lines) {
  Q_ASSERT(i >= 0 && i <= size());
  if (lines.d_ == d_ || lines.d_->ref.loadRelaxed() != 1) {
    insert(i, std::as_const(lines));
  } else if (isEmpty()) {
    *this = std::move(lines);
  } else {
    detach();
    const auto at = d_->entries.insert(d_->entries.begin() + i, lines.d_->entries.size(), Entry(0));
    CopyEntries(lines, 0, lines.size(), &*at, /*takeApart=*/true);
    lines.clear();
  }
}

void Lines::insert(qsizetype i, qsizetype count, const QByteArray& line) {
  Q_ASSERT(i >= 0 && i <= size() && count >= 0);
  const QByteArray kept = line;
  detach();
  std::vector<Entry> entries(static_cast<size_t>(count));
  for (Entry& e : entries) e = EntryFor(kept);
  d_->entries.insert(d_->entries.begin() + i, entries.begin(), entries.end());
}

void Lines::remove(qsizetype i, qsizetype count) {
  Q_ASSERT(i >= 0 && count >= 0 && i + count <= size());
  if (count == 0) return;
  detach();
  const auto first = d_->entries.begin() + i;
  std::for_each(first, first + count, [this](Entry e) { Release(e); });
  d_->entries.erase(first, first + count);
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
    detach();
    d_->entries.resize(static_cast<size_t>(size), Packed(0, 0));
  }
}

void Lines::reserve(qsizetype size) {
  if (size <= this->size()) return;
  detach();
  d_->entries.reserve(static_cast<size_t>(size));
}

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
  for (qsizetype i = 0; i < size(); ++i) list.append(at(i));
  return list;
}

qsizetype Lines::heldApartCount() const {
  return static_cast<qsizetype>(d_->apart.size() - d_->freeApart.size());
}

bool operator==(const Lines& a, const Lines& b) {
  if (a.d_ == b.d_) return true;
  if (a.size() != b.size()) return false;
  // Two lists of one buffer (a document and its saved copy) mostly hold the
  // same entries: equal entries of the buffer are equal lines.
  const bool sameBuffer = a.d_->buffer.data_ptr().d_ptr() == b.d_->buffer.data_ptr().d_ptr();
  for (qsizetype i = 0; i < a.size(); ++i) {
    const Lines::Entry e = a.d_->entries[static_cast<size_t>(i)];
    if (sameBuffer && !Lines::IsApart(e) && e == b.d_->entries[static_cast<size_t>(i)]) continue;
    if (a.view(i) != b.view(i)) return false;
  }
  return true;
}
