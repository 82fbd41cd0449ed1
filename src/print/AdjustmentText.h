#pragma once
// The texts of the print adjustment dialog's two boxes: which entries are
// numbers, and the "#0.0###" form the boxes show.

#include <QString>
#include <optional>

#include "base/Decimal4.h"

// Not empty, not a lone "-"; an ASCII digit or "-" first; after it only
// ASCII digits and at most one decimal point.
bool IsAdjustmentText(const QString& text);

// An entry as millimetres rounded to four decimals; nothing when it is not
// an adjustment text or not a number the program can hold.
std::optional<Decimal4> ParseAdjustment(const QString& text);

// At least one integer digit and one to four decimals: 0.0, 1.5, -2.25.
QString FormatAdjustment(Decimal4 value);

inline constexpr char kNotANumberText[] = "数字のみ入力してください。";
