#include "document/Series.h"

#include "base/ShiftJis.h"

namespace {

struct SeriesRow {
  const char* name;  // UTF-8
  int entriesPerTab;
  const char* keyLabelFile;
};

// The key-label file numbers do not follow the series order.
constexpr SeriesRow kSeriesTable[kSeriesCount] = {
    {"Ｋａシリーズ主装置", 20, "VRDKey7.ini"},
    {"Ｍｏシリーズ主装置", 20, "VRDKey6.ini"},
    {"Ｔｅシリーズ主装置", 20, "VRDKey5.ini"},
    {"Ｒｕシリーズ主装置", 20, "VRDKey1.ini"},
    {"Ｈｏシリーズ主装置", 15, "VRDKey2.ini"},
    {"Ｎｅシリーズ主装置", 15, "VRDKey3.ini"},
    {"ＳＩＰ対応電話機", 15, "VRDKey4.ini"},
};

}  // namespace

bool IsSeries(int series) { return series >= 0 && series < kSeriesCount; }

QString SeriesName(int series) {
  return IsSeries(series) ? QString::fromUtf8(kSeriesTable[series].name) : QString();
}

QStringList SeriesNames() {
  QStringList names;
  for (int s = 0; s < kSeriesCount; ++s) names.append(SeriesName(s));
  return names;
}

int PaletteEntriesPerTab(int series) {
  return IsSeries(series) ? kSeriesTable[series].entriesPerTab : 0;
}

QString KeyLabelFileName(int series) {
  return IsSeries(series) ? QString::fromLatin1(kSeriesTable[series].keyLabelFile) : QString();
}

int SeriesIndexOf(const QString& name) {
  for (int s = 0; s < kSeriesCount; ++s) {
    if (name == SeriesName(s)) return s;
  }
  return -1;
}

int SeriesIndexOfLine(const QByteArray& line) {
  for (int s = 0; s < kSeriesCount; ++s) {
    if (line == sjis::Encode(SeriesName(s))) return s;
  }
  return -1;
}
