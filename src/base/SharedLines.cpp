#include "base/SharedLines.h"

#include <cstring>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Calls `atLineEnd(i)` for every CR and LF among the first `end` bytes, in
// order. The bytes between line ends are skipped sixteen at a time where
// the processor allows: a file of short lines reads at memory speed.
template <typename AtLineEnd>
void ForEachLineEndByte(const char* p, qsizetype end, AtLineEnd atLineEnd) {
  qsizetype i = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 16 <= end; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
    while (mask != 0) {
      atLineEnd(i + __builtin_ctz(mask));
      mask &= mask - 1;
    }
  }
#endif
  for (; i < end; ++i) {
    if (p[i] == '\r' || p[i] == '\n') atLineEnd(i);
  }
}

}  // namespace

Lines SplitLinesSharing(QByteArray bytes) {
  qsizetype end = bytes.indexOf('\0');
  if (end < 0) end = bytes.size();
  // data() detaches: the buffer is this function's own from here on. A
  // buffer not allocated by QByteArray (raw data) is copied by it as well.
  char* p = bytes.data();

  std::vector<Lines::BlockPointer> blocks;
  std::vector<std::pair<qsizetype, qsizetype>> unpacked;  // line and offset of lines held apart
  qsizetype lines = 0;
  const auto add = [&](qsizetype start, qsizetype stop) {
    if (blocks.empty() || blocks.back()->size() == Lines::kBlockLines) {
      blocks.emplace_back(new Lines::Block);
      blocks.back()->entries.reserve(static_cast<size_t>(Lines::kBlockLines));
    }
    const qsizetype length = stop - start;
    Lines::Entry e = Lines::Packed(0, 0);
    if (length > 0 && Lines::FitsEntry(start, length)) {
      e = Lines::Packed(start, length);
    } else if (length > 0) {
      // Held apart once the blocks hold the buffer; the length waits here.
      unpacked.emplace_back(lines, start);
      e = static_cast<Lines::Entry>(length);
    }
    blocks.back()->entries.push_back(e);
    ++lines;
  };
  qsizetype start = 0;
  qsizetype crlfEnd = -1;  // the LF of the last CR LF, which ends no line of its own
  ForEachLineEndByte(p, end, [&](qsizetype i) {
    if (i == crlfEnd) return;
    if (p[i] == '\r' && i + 1 < end && p[i + 1] == '\n') crlfEnd = i + 1;
    p[i] = '\0';
    add(start, i);
    start = i == crlfEnd - 1 ? i + 2 : i + 1;
  });
  // The last line ends at the text's end: a 00 of the file, or the one
  // every QByteArray keeps after its bytes.
  if (start < end) add(start, end);

  Lines result;
  result.detach();
  for (Lines::BlockPointer& block : blocks) block->buffer = bytes;
  for (const auto& [line, offset] : unpacked) {
    Lines::Block& block = *blocks[static_cast<size_t>(line >> Lines::kBlockShift)];
    Lines::Entry& e = block.entries[static_cast<size_t>(line & (Lines::kBlockLines - 1))];
    e = block.HoldApart(block.SliceOfBuffer(offset, static_cast<qsizetype>(e)));
  }
  result.d_->blocks = std::move(blocks);
  result.Reindex(0);
  return result;
}
