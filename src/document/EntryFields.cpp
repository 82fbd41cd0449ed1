#include "document/EntryFields.h"

#include <algorithm>

#include "base/ShiftJis.h"

QString TrimEntryText(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first].unicode() <= u' ') ++first;
  while (last > first && text[last - 1].unicode() <= u' ') --last;
  return text.mid(first, last - first);
}

QByteArray EntryFieldBytes(const QString& shown, const QByteArray& loaded) {
  if (!loaded.isEmpty() && shown == sjis::Decode(loaded)) return loaded;
  return sjis::Encode(TrimEntryText(shown));
}

QString EntryFieldProblem(const QString& trimmed) {
  if (std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.unicode() < u' '; })) {
    return QStringLiteral("制御文字（改行など）は使えません");
  }
  if (!sjis::EncodeExactly(trimmed)) return QStringLiteral("Shift_JIS（CP932）にない文字があります");
  return QString();
}

QByteArray RegistrationDate(const QDateTime& time) {
  const QDate d = time.date();
  const QTime t = time.time();
  return QString::asprintf("%04d/%02d/%02d %02d:%02d", d.year(), d.month(), d.day(), t.hour(),
                           t.minute())
      .toLatin1();
}
