#include "document/StripSheet.h"

#include "base/ShiftJis.h"

namespace {

bool IsTeOrMo(const QByteArray& series) {
  static const QByteArray te = sjis::Encode(QStringLiteral("Ｔｅシリーズ"));
  static const QByteArray mo = sjis::Encode(QStringLiteral("Ｍｏシリーズ"));
  return series.contains(te) || series.contains(mo);
}

bool IsKa(const QByteArray& series) {
  static const QByteArray ka = sjis::Encode(QStringLiteral("Ｋａシリーズ"));
  return series.contains(ka);
}

bool IsStandardKaType(const QByteArray& stripType) {
  static const QByteArray standard = sjis::Encode(QStringLiteral("標準Ｋａ"));
  return stripType.contains(standard);
}

StripSheet Sheet(SheetKind kind, int width, int height, int paperCode, const char* paper) {
  return {kind, Decimal4::FromInt(width), Decimal4::FromInt(height), paperCode, QString::fromLatin1(paper)};
}

}  // namespace

StripSheet StripSheetFor(const QByteArray& seriesName, const QByteArray& stripType) {
  if (IsTeOrMo(seriesName)) return Sheet(SheetKind::kPortrait, 148, 210, 11, "A5");
  if (IsKa(seriesName)) {
    if (IsStandardKaType(stripType)) return Sheet(SheetKind::kStandardKa, 148, 210, 11, "A5");
    return Sheet(SheetKind::kLandscapeKa, 210, 148, 9, "A4");
  }
  return Sheet(SheetKind::kLarge, 182, 257, 13, "B5");
}

bool HasRoundedKeyCorners(const QByteArray& seriesName) {
  return !IsTeOrMo(seriesName) && !IsKa(seriesName);
}
