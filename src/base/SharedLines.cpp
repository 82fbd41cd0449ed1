#include "base/SharedLines.h"

#include "base/LineIO.h"

namespace {

// Every line but an empty one adds a reference to the buffer's count, an
// int; each copy of the document's list adds one more per line. Up to
// 512 MiB a line of a byte and its line end leave room for eight copies;
// larger files are split into lines of their own.
constexpr qsizetype kLargestSharedBuffer = qsizetype(512) << 20;

// A line of `buffer` from `start` to `end` that holds a reference to the
// buffer, so that the buffer outlives it.
QByteArray Slice(QByteArray& buffer, qsizetype start, qsizetype end) {
  QByteArray::DataPointer& whole = buffer.data_ptr();
  // An empty line needs no part of the buffer (and keeps it from lasting).
  if (end == start) return QByteArray(whole.data() + start, 0);
  whole.ref();  // the reference the slice's data pointer takes over
  return QByteArray(QByteArray::DataPointer(whole.d_ptr(), whole.data() + start, end - start));
}

}  // namespace

Lines SplitLinesSharing(QByteArray bytes) {
  if (bytes.size() > kLargestSharedBuffer) return SplitLines(bytes);
  Lines lines;
  qsizetype end = bytes.indexOf('\0');
  if (end < 0) end = bytes.size();
  // data() detaches: the buffer is this function's own from here on. A
  // buffer not allocated by QByteArray (raw data) is copied by it as well.
  char* p = bytes.data();
  qsizetype start = 0;
  qsizetype i = 0;
  while (i < end) {
    const char c = p[i];
    if (c == '\r' || c == '\n') {
      const qsizetype next = (c == '\r' && i + 1 < end && p[i + 1] == '\n') ? i + 2 : i + 1;
      p[i] = '\0';
      lines.append(Slice(bytes, start, i));
      i = next;
      start = i;
    } else {
      ++i;
    }
  }
  // The last line ends at the text's end: a 00 of the file, or the one
  // every QByteArray keeps after its bytes.
  if (start < end) lines.append(Slice(bytes, start, end));
  return lines;
}
