#pragma once
// A 100-key strip for the layout benchmarks, and a timer.

#include <QByteArray>
#include <QList>
#include <chrono>
#include <functional>

#include "base/ShiftJis.h"

namespace bench {

inline QByteArray Sj(const char* utf8) { return sjis::Encode(QString::fromUtf8(utf8)); }
inline QByteArray Num(double v) { return QByteArray::number(v); }

// A Te strip of four groups of 25 keys, each key with two text lines.
inline QList<QByteArray> HundredKeyStrip() {
  QList<QByteArray> lines = {"file-version:01.01.00.00", "1", "1" + QByteArray(10, '\xFF')};
  lines += {"2001", Sj("営業部"), Sj("山田"), "2017/03/05 14:07", Sj("Ｔｅシリーズ主装置"),
            Sj("Ｔｅ標準"), "4"};
  for (int g = 0; g < 4; ++g) {
    lines += {"1", Num(4 + g * 36), "5", "34", "200", "25"};
    for (int i = 0; i < 25; ++i) {
      const double y = 1 + i * 7.9;
      lines += {"1", Num(y), "32", "7.5", "1.5", Num(y + 0.5), "4", "3", Sj("ＭＳ Ｐゴシック"), "9",
                "0", "0", "0", "1", QByteArray::number(g * 25 + i + 1), "7", Num(y + 0.5), "24",
                "6.5", Sj("ＭＳ 明朝"), "9", "0,16777215", "0", "0", "2", "", "", "", "", "", "",
                "", "2", Sj("外線転送"), Sj("営業部　代表")};
    }
  }
  return lines;
}

// Mean milliseconds per run of `work` over `runs` runs, after one warm-up.
inline double MillisecondsPerRun(int runs, const std::function<void()>& work) {
  work();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) work();
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / runs;
}

}  // namespace bench
