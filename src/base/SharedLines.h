#pragma once
// A large file's lines as parts of the bytes read, instead of one heap block
// per line: the list holds the bytes once and an 8-byte entry per line.

#include <QByteArray>

#include "base/Lines.h"

// The lines of `bytes` split as SplitLines splits them (CR LF, lone CR or
// lone LF end a line, a final line end starts no extra line, a byte 00 ends
// the text), with the same contents. The line ends in the buffer are
// overwritten by bytes 00, so every line read out is followed by a 00 as
// QByteArray::constData() promises. Any size: a line too long or too far
// into the bytes for an entry is held apart, still sharing the bytes.
Lines SplitLinesSharing(QByteArray bytes);
