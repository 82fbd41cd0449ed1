#include "base/SharedLines.h"

#include <utility>
#include <vector>

namespace {

// The number of lines SplitLinesSharing makes of the first `end` bytes, so
// that the entries are allocated once, at their size.
qsizetype CountLines(const char* p, qsizetype end) {
  qsizetype lines = 0;
  for (qsizetype i = 0; i < end; ++i) {
    // A CR LF ends one line, at its CR.
    lines += (p[i] == '\r') | (p[i] == '\n' && (i == 0 || p[i - 1] != '\r'));
  }
  const bool lastEnded = end > 0 && (p[end - 1] == '\r' || p[end - 1] == '\n');
  return lines + (end > 0 && !lastEnded ? 1 : 0);
}

}  // namespace

Lines SplitLinesSharing(QByteArray bytes) {
  qsizetype end = bytes.indexOf('\0');
  if (end < 0) end = bytes.size();
  // data() detaches: the buffer is this function's own from here on. A
  // buffer not allocated by QByteArray (raw data) is copied by it as well.
  char* p = bytes.data();
  std::vector<Lines::Entry> entries;
  entries.reserve(static_cast<size_t>(CountLines(p, end)));
  std::vector<std::pair<qsizetype, qsizetype>> unpacked;  // index and offset of lines held apart
  const auto add = [&](qsizetype start, qsizetype stop) {
    const qsizetype length = stop - start;
    if (length == 0) {
      entries.push_back(Lines::Packed(0, 0));
    } else if (Lines::FitsEntry(start, length)) {
      entries.push_back(Lines::Packed(start, length));
    } else {
      // Held apart once the list holds the buffer; the length waits here.
      unpacked.emplace_back(static_cast<qsizetype>(entries.size()), start);
      entries.push_back(static_cast<Lines::Entry>(length));
    }
  };
  qsizetype start = 0;
  qsizetype i = 0;
  while (i < end) {
    const char c = p[i];
    if (c == '\r' || c == '\n') {
      const qsizetype next = (c == '\r' && i + 1 < end && p[i + 1] == '\n') ? i + 2 : i + 1;
      p[i] = '\0';
      add(start, i);
      i = next;
      start = i;
    } else {
      ++i;
    }
  }
  // The last line ends at the text's end: a 00 of the file, or the one
  // every QByteArray keeps after its bytes.
  if (start < end) add(start, end);

  Lines lines;
  lines.detach();
  lines.d_->buffer = std::move(bytes);
  lines.d_->entries = std::move(entries);
  for (const auto& [index, offset] : unpacked) {
    Lines::Entry& e = lines.d_->entries[static_cast<size_t>(index)];
    e = lines.HoldApart(lines.SliceOfBuffer(offset, static_cast<qsizetype>(e)));
  }
  return lines;
}
