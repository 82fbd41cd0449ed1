#pragma once
// Base64 as picture data is stored: the standard alphabet, "=" padding, one
// line. Decoding is lenient: it takes four characters at a time, counts a
// character outside the alphabet (such as "=") as 0 and shortens that group's
// output by one byte for each such character.

#include <QByteArray>

namespace base64 {
QByteArray Encode(const QByteArray& bytes);
QByteArray Decode(const QByteArray& text);
}  // namespace base64
