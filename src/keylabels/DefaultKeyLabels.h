#pragma once
// The built-in key labels of every series: what the palette shows when the
// series has no readable key-label file, and what "初期値に戻す" restores.

#include "document/CheckedRead.h"

// The default palette list of a series: 3 x n entries in the font
// "ＭＳ 明朝" with the colour pair "0"; empty for a number that is no series.
Lines DefaultKeyLabels(int series);

// Replaces the palette list with the defaults of the series. A number that
// is no series leaves the list as it is.
void Myfunc_Set_Default(int series, Lines* list);
