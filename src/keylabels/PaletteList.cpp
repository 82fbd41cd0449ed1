#include "keylabels/PaletteList.h"

#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/Series.h"

int PaletteEntryCount(int series) { return kPaletteTabs * PaletteEntriesPerTab(series); }

qsizetype PaletteEntryLength(const Lines& list, qsizetype entryLine) {
  int textCount = ReadCount(list, entryLine + palette::kTextCount);
  qsizetype length = palette::kEntryFixedLines + qsizetype(textCount);
  if (textCount > 0) LineAt(list, entryLine + length - 1);  // the last text line must exist
  return length;
}

qsizetype PaletteEntryLine(const Lines& list, int entry) {
  if (entry < 0) throw DocumentError(0, QStringLiteral("キーラベルの番号"));
  qsizetype line = 0;
  for (int k = 0; k < entry; ++k) line += PaletteEntryLength(list, line);
  LineAt(list, line);  // the entry itself must start inside the list
  return line;
}

KeyLabelFormat Myfunc_Get_Label(const Lines& list, int entry, Lines* labelLines) {
  labelLines->clear();
  qsizetype b = PaletteEntryLine(list, entry);
  qsizetype length = PaletteEntryLength(list, b);
  KeyLabelFormat format;
  format.fontName = LineAt(list, b + palette::kFontName);
  format.fontSize = ReadInt(list, b + palette::kFontSize);
  const QByteArray& pair = LineAt(list, b + palette::kColorPair);
  format.fontColor = FontColorOf(pair);
  format.backColor = BackColorOf(pair);
  for (qsizetype i = b + palette::kFirstText; i < b + length; ++i) labelLines->append(list[i]);
  return format;
}

qsizetype PaletteListEnd(const Lines& list, int series) {
  if (!IsSeries(series)) throw DocumentError(0, QStringLiteral("シリーズ番号 0～6"));
  qsizetype line = 0;
  for (int k = 0; k < PaletteEntryCount(series); ++k) {
    ReadInt(list, line + palette::kFontSize);
    line += PaletteEntryLength(list, line);
  }
  return line;
}

void CheckPaletteList(const Lines& list, int series) {
  const qsizetype end = PaletteListEnd(list, series);
  if (end != list.size()) throw DocumentError(end, QStringLiteral("キーラベルの終わり"));
}

bool IsWellFormedPaletteList(const Lines& list, int series) {
  try {
    CheckPaletteList(list, series);
    return true;
  } catch (const DocumentError&) {
    return false;
  }
}

void CommitKeyLabel(Lines* list, int entry, const KeyLabelFormat& format, const Lines& textLines) {
  qsizetype b = PaletteEntryLine(*list, entry);
  qsizetype oldTextCount = PaletteEntryLength(*list, b) - palette::kEntryFixedLines;
  QByteArray pair = WithBackColor(WithFontColor((*list)[b + palette::kColorPair], format.fontColor),
                                  format.backColor);
  // Everything is checked; from here on the list changes.
  list->remove(b + palette::kFirstText, oldTextCount);
  (*list)[b + palette::kFontName] = format.fontName;
  (*list)[b + palette::kFontSize] = QByteArray::number(format.fontSize);
  (*list)[b + palette::kColorPair] = pair;
  (*list)[b + palette::kTextCount] = QByteArray::number(textLines.size());
  for (qsizetype i = 0; i < textLines.size(); ++i) {
    list->insert(b + palette::kFirstText + i, textLines[i]);
  }
}

Lines MemoLines(const QString& memoText) { return SplitLines(sjis::Encode(memoText)); }

KeyLabelCaption CaptionOf(const Lines& labelLines) {
  KeyLabelCaption caption;
  if (labelLines.size() == 1) {
    caption.text = sjis::Decode(labelLines[0]);
  } else if (labelLines.size() >= 2) {
    caption.text = sjis::Decode(labelLines[0]) + QChar('\n') + sjis::Decode(labelLines[1]);
    caption.pointSize = 8;
  }
  return caption;
}

QStringList FontSizeList() {
  return {"4",  "5",  "6",  "7",  "8",  "9",  "10", "11", "12", "14",
          "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"};
}
