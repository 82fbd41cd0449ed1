#pragma once
// The main-unit series: the index is the series number used everywhere.

#include <QByteArray>
#include <QString>

namespace series {

inline constexpr int kCount = 7;

// "Ｋａシリーズ主装置" ... "ＳＩＰ対応電話機"; empty outside 0..6.
QString Name(int series);
QByteArray NameBytes(int series);  // in Shift_JIS, as strip headers hold it
// Palette entries per tab: 20 for series 0 to 3, 15 for 4 to 6.
int EntriesPerTab(int series);
// The key-label file of the series ("VRDKey7.ini" for series 0...).
QString KeyLabelFileName(int series);
// The series whose name equals `name`, or -1.
int IndexOf(const QString& name);
int IndexOfBytes(const QByteArray& name);

}  // namespace series
