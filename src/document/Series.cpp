#include "document/Series.h"

#include "base/ShiftJis.h"

namespace {

struct SeriesRow {
  const char* name;
  int entriesPerTab;
  const char* keyLabelFile;
};

constexpr SeriesRow kSeries[series::kCount] = {
    {"Ｋａシリーズ主装置", 20, "VRDKey7.ini"},
    {"Ｍｏシリーズ主装置", 20, "VRDKey6.ini"},
    {"Ｔｅシリーズ主装置", 20, "VRDKey5.ini"},
    {"Ｒｕシリーズ主装置", 20, "VRDKey1.ini"},
    {"Ｈｏシリーズ主装置", 15, "VRDKey2.ini"},
    {"Ｎｅシリーズ主装置", 15, "VRDKey3.ini"},
    {"ＳＩＰ対応電話機", 15, "VRDKey4.ini"},
};

bool Valid(int s) { return s >= 0 && s < series::kCount; }

}  // namespace

namespace series {

QString Name(int s) { return Valid(s) ? QString::fromUtf8(kSeries[s].name) : QString(); }

QByteArray NameBytes(int s) { return sjis::Encode(Name(s)); }

int EntriesPerTab(int s) { return Valid(s) ? kSeries[s].entriesPerTab : 0; }

QString KeyLabelFileName(int s) {
  return Valid(s) ? QString::fromLatin1(kSeries[s].keyLabelFile) : QString();
}

int IndexOf(const QString& name) {
  for (int s = 0; s < kCount; ++s) {
    if (name == Name(s)) return s;
  }
  return -1;
}

int IndexOfBytes(const QByteArray& name) { return IndexOf(sjis::Decode(name)); }

}  // namespace series
