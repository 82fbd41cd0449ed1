#include "print/AdjustmentText.h"

namespace {

bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

bool IsAdjustmentText(const QString& text) {
  if (text.isEmpty() || text == QLatin1String("-")) return false;
  if (!IsAsciiDigit(text[0]) && text[0] != QLatin1Char('-')) return false;
  int points = 0;
  for (qsizetype i = 1; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('.')) {
      if (++points > 1) return false;
    } else if (!IsAsciiDigit(text[i])) {
      return false;
    }
  }
  return true;
}

std::optional<Decimal4> ParseAdjustment(const QString& text) {
  if (!IsAdjustmentText(text)) return std::nullopt;
  return Decimal4::FromText(text.toLatin1());  // "-." passes the rule but holds no number
}

QString FormatAdjustment(Decimal4 value) {
  QString text = QString::fromLatin1(value.ToText());
  if (!text.contains(QLatin1Char('.'))) text += QLatin1String(".0");
  return text;
}
