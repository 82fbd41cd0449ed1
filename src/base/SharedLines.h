#pragma once
// Lines that share one buffer: a large file's lines as slices of the bytes
// read, instead of one heap block per line. Each line is an ordinary
// QByteArray whose data is a part of the shared buffer; the buffer lives as
// long as any line (or copy of one) does, and changing a line copies it
// first, as with any shared QByteArray.

#include <QByteArray>
#include <QList>

using Lines = QList<QByteArray>;

// The lines of `bytes` split as SplitLines splits them (CR LF, lone CR or
// lone LF end a line, a final line end starts no extra line, a byte 00 ends
// the text), with the same contents. The line ends in the buffer are
// overwritten by bytes 00, so every line is followed by a 00 as
// QByteArray::constData() promises. Beyond 512 MiB, as SplitLines.
Lines SplitLinesSharing(QByteArray bytes);
