#pragma once
// Small helpers shared by the fuzz targets.

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

inline QByteArray FuzzBytes(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A property of the parser that must hold for every input.
#define FUZZ_ASSERT(condition) \
  do {                         \
    if (!(condition)) std::abort(); \
  } while (0)
