#pragma once
// Memory figures of this process for the benchmarks (Linux /proc).
#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>

namespace bench {

// A figure of /proc/self/status in MiB: VmRSS now, VmHWM the peak since the
// last ResetPeak.
inline double StatusMiB(const QByteArray& key) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').value(0).toDouble() / 1024;
  }
  return -1;
}

inline void ResetPeak() {
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

}  // namespace bench
