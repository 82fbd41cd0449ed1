#pragma once
// Reading whole numbers out of text lines.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

// A decimal integer: optional leading spaces, an optional sign and at least
// one digit, nothing after it, within the range of int. Anything else is no
// number.
std::optional<int> ParseInt(QByteArrayView text);

// As ParseInt, with `fallback` for text that is not an integer.
int ParseIntOr(QByteArrayView text, int fallback);
