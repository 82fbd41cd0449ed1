#include "base/Base64.h"

namespace {

constexpr char kAlphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

namespace base64 {

QByteArray Encode(const QByteArray& bytes) {
  QByteArray out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n; i += 3) {
    qsizetype left = n - i;
    unsigned v = p[i] << 16;
    if (left > 1) v |= p[i + 1] << 8;
    if (left > 2) v |= p[i + 2];
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += left > 1 ? kAlphabet[(v >> 6) & 63] : '=';
    out += left > 2 ? kAlphabet[v & 63] : '=';
  }
  return out;
}

QByteArray Decode(const QByteArray& text) {
  QByteArray out;
  out.reserve(text.size() / 4 * 3);
  for (qsizetype i = 0; i < text.size(); i += 4) {
    unsigned v = 0;
    int invalid = 0;
    for (int j = 0; j < 4; ++j) {
      // Characters missing at the end count as outside the alphabet.
      int d = i + j < text.size() ? ValueOf(text[i + j]) : -1;
      if (d < 0) {
        d = 0;
        ++invalid;
      }
      v = (v << 6) | static_cast<unsigned>(d);
    }
    const char group[3] = {static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    int count = 3 - invalid;
    if (count > 0) out.append(group, count);
  }
  return out;
}

}  // namespace base64
