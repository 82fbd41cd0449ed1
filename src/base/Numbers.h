#pragma once
// Reading whole numbers out of text lines.

#include <QByteArray>
#include <optional>

// A decimal integer: optional leading spaces, an optional sign and at least
// one digit, nothing after it, within the range of int. Anything else is no
// number.
std::optional<int> ParseInt(const QByteArray& text);

// As ParseInt, with `fallback` for text that is not an integer.
int ParseIntOr(const QByteArray& text, int fallback);
