#pragma once
// The seven main-unit series, numbered 0 to 6 in the order of the series
// combo box. A strip stores its series by name; the palette and its
// key-label file are chosen by number.

#include <QByteArray>
#include <QString>
#include <QStringList>

inline constexpr int kSeriesCount = 7;

// True for 0 to 6; every per-series table is indexed with these only.
bool IsSeries(int series);

// "Ｋａシリーズ主装置" ... "ＳＩＰ対応電話機"; empty outside 0 to 6.
QString SeriesName(int series);
// All seven names in series order, as the series combo box lists them.
QStringList SeriesNames();

// Palette entries on each of the three palette tabs: 20 or 15; 0 outside 0 to 6.
int PaletteEntriesPerTab(int series);

// The series' key-label file name, e.g. "VRDKey7.ini"; empty outside 0 to 6.
QString KeyLabelFileName(int series);

// The series number of a name (exact match), or -1 when it is none.
int SeriesIndexOf(const QString& name);
// The same for a series line of a strip (Shift_JIS bytes).
int SeriesIndexOfLine(const QByteArray& line);
