#include "document/SpreadsheetRewrites.h"

#include <QRegularExpression>

namespace {

bool Matches(const QString& text, const QRegularExpression& pattern) { return pattern.match(text).hasMatch(); }

// The error values of Excel and LibreOffice Calc (Calc also writes
// "Err:502" and the like).
bool IsErrorValue(const QString& text) {
  static const QRegularExpression pattern(
      QStringLiteral(R"(^(#NAME\?|#VALUE!|#REF!|#DIV/0!|#N/A|#NUM!|#NULL!|#SPILL!|#CALC!|Err:\d{3})$)"));
  return Matches(text, pattern);
}

bool IsExponentForm(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral(R"(^[-+]?\d+(\.\d+)?[eE][-+]\d+$)"));
  return Matches(text, pattern);
}

// "1/2", "2026/1/2", "1-2", "1月2日" and the like.
bool IsDate(const QString& text) {
  static const QRegularExpression pattern(
      QStringLiteral(R"(^(\d{1,4}[/\-.]\d{1,2}([/\-.]\d{1,4})?|(\d{1,4}年)?\d{1,2}月\d{1,2}日)$)"));
  return Matches(text, pattern);
}

// "9:30", "09:30:00 AM", "午前 9:30"; a date before it may be there.
bool IsTime(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral(
      R"(^(\S+\s+)?(午前|午後)?\s*\d{1,2}:\d{2}(:\d{2})?(\s*([AaPp][Mm]))?$)"));
  return Matches(text, pattern);
}

bool IsDateOrTime(const QString& text) { return IsDate(text) || IsTime(text); }

// "5%" and "5.00%", "1,000" and "1000.00": numbers in some format.
bool IsFormattedNumber(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral(R"(^[-+]?[\d,]*\.?\d+%?$)"));
  return Matches(text, pattern);
}

bool IsDigitsWithLeadingZero(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral(R"(^0\d+$)"));
  return Matches(text, pattern);
}

QString WithoutLeadingZeros(const QString& digits) {
  qsizetype zeros = 0;
  while (zeros + 1 < digits.size() && digits[zeros] == '0') ++zeros;
  return digits.mid(zeros);
}

// The text with every run of digits as "9", or "09" when it has a leading
// zero: "1/2" and "3/14" have one shape, "01/02/26" another. A user edits
// the digits; a spreadsheet changes the shape.
QString Shape(const QString& text) {
  static const QRegularExpression zeroRun(QStringLiteral(R"((?<!\d)0\d+)"));
  static const QRegularExpression run(QStringLiteral(R"(\d+)"));
  QString shape = text;
  shape.replace(zeroRun, QStringLiteral("\x01"));
  shape.replace(run, QStringLiteral("9"));
  return shape.replace(QChar(1), QStringLiteral("09"));
}

}  // namespace

QString SpreadsheetRewriteWarning(const QString& before, const QString& after) {
  if (before == after) return QString();
  if (IsErrorValue(after)) return QStringLiteral("表計算ソフトのエラー値です（元の文字が式と見なされました）");
  if (IsExponentForm(after)) return QStringLiteral("指数の形の数です（表計算ソフトが数と見なして書き換えました）");
  if (IsDigitsWithLeadingZero(before) && after == WithoutLeadingZeros(before)) {
    return QStringLiteral("先頭の0が落ちています（表計算ソフトが数と見なしました）");
  }
  if (Shape(before) == Shape(after)) return QString();
  if (IsDateOrTime(before) && IsDateOrTime(after)) {
    return QStringLiteral("日付か時刻として書き換えられたようです（表計算ソフトの表示の形です）");
  }
  if (before.endsWith('%') && after.endsWith('%') && IsFormattedNumber(before) && IsFormattedNumber(after)) {
    return QStringLiteral("パーセントの表示の形が書き換えられたようです");
  }
  return QString();
}
