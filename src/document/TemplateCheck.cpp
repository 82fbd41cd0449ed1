#include "document/TemplateCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

#include "base/FileLocations.h"
#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripLayout.h"
#include "document/StripSheet.h"
#include "document/Template.h"

namespace {

using Severity = TemplateFault::Severity;

// Offsets of the boxes within a key template, and of the group box.
constexpr int kOutlineLine = layout::kKeyX;
constexpr int kLabelLine = layout::kLabelX;
constexpr int kFieldLine = layout::kKeyNumber;
constexpr int kTextAreaLine = layout::kTextX;
constexpr int kGroupBoxLine = layout::kGroupX;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when byte `at` lies inside a double-byte character, walking from the start.
bool SplitsCharacterAt(const QByteArray& bytes, qsizetype at) {
  qsizetype i = 0;
  while (i < at && i < bytes.size()) i += sjis::IsLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
  return i > at && at < bytes.size();
}

bool HasNonAscii(const QByteArray& line) {
  return std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool IsUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8);
  (void)QString(decoder(bytes));
  return !decoder.hasError();
}

// A file saved as UTF-8, or with bytes Shift_JIS does not have: one fault at
// the first line that shows it.
void CheckEncoding(const Lines& lines, const QByteArray& bytes, QList<TemplateFault>& faults) {
  const bool utf8 = HasNonAscii(bytes) && IsUtf8(bytes);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray line = lines[i];
    if (!HasNonAscii(line)) continue;
    if (utf8) {
      faults.append({Severity::kError, static_cast<int>(i + 1), -1,
                     QStringLiteral("UTF-8で保存されています。Shift_JISで保存してください。")});
      return;
    }
    if (sjis::Decode(line).contains(QChar::ReplacementCharacter)) {
      faults.append({Severity::kError, static_cast<int>(i + 1), -1,
                     QStringLiteral("Shift_JISではない文字が含まれています。")});
      return;
    }
  }
}

QString SeriesList(const QList<int>& series) {
  QStringList names;
  for (int s : series) names << SeriesName(s);
  return names.join(QStringLiteral("、"));
}

// The distinct sheets of the served series, each with the series that use it.
struct ServedSheet {
  StripSheet sheet;
  QList<int> series;
};

QList<ServedSheet> ServedSheets(const StripTemplate& model, const QByteArray& stripType) {
  QList<ServedSheet> sheets;
  for (int s : model.SeriesServed()) {
    const StripSheet sheet = StripSheetFor(sjis::Encode(SeriesName(s)), stripType);
    auto same = std::find_if(sheets.begin(), sheets.end(),
                             [&](const ServedSheet& o) { return o.sheet.kind == sheet.kind; });
    if (same == sheets.end()) {
      sheets.append({sheet, {s}});
    } else {
      same->series << s;
    }
  }
  return sheets;
}

TemplateBox SheetBox(const StripSheet& sheet) {
  TemplateBox box;
  box.width = sheet.width;
  box.height = sheet.height;
  return box;
}

class ModelCheck {
 public:
  ModelCheck(const StripTemplate& model, const QByteArray& stripType)
      : model_(model), sheets_(ServedSheets(model, stripType)) {}

  QList<TemplateFault> Run() {
    if (sheets_.isEmpty()) {
      Add(Severity::kError, 1, -1, QStringLiteral("タイトル行がどのシリーズも指定していません（例: Ｔｅシリーズ主装置）。"));
    }
    int key = 0;
    for (int g = 0; g < model_.groups.size(); ++g) {
      CheckGroup(g, key);
      key += static_cast<int>(model_.groups[g].keys.size());
    }
    CheckAcrossKeys();
    return faults_;
  }

 private:
  void CheckGroup(int g, int firstKey) {
    const TemplateGroup& group = model_.groups[g];
    const int line = GroupLineOf(model_, g);
    CheckSize(group.box, line + kGroupBoxLine, -1, QStringLiteral("グループ"));
    for (const ServedSheet& s : sheets_) {
      if (!SheetBox(s.sheet).Contains(group.box)) {
        Add(Severity::kWarning, line + kGroupBoxLine, -1, OutsideSheet(QStringLiteral("グループ"), s));
      }
    }
    TemplateBox inside = group.box.MovedBy(-group.box.x.value(), -group.box.y.value());
    for (int k = 0; k < group.keys.size(); ++k) CheckKey(group, inside, firstKey + k);
  }

  void CheckKey(const TemplateGroup& group, const TemplateBox& groupSpace, int k) {
    const TemplateKey& key = model_.Key(k);
    const int line = KeyLineOf(model_, k);
    CheckPlaced(group, groupSpace, key.outline, line + kOutlineLine, k, QStringLiteral("キーの外枠"));
    if (group.showNumbers.value() != 0 && key.ShownNumber() > 0) {
      CheckPlaced(group, groupSpace, key.label, line + kLabelLine, k, QStringLiteral("番号ラベル"));
    }
    if (key.HasTextArea()) {
      CheckPlaced(group, groupSpace, key.textArea, line + kTextAreaLine, k, QStringLiteral("文字領域"));
      if (!key.outline.Contains(key.textArea)) {
        Add(Severity::kWarning, line + kTextAreaLine, k, QStringLiteral("文字領域がキーの外枠からはみ出しています。"));
      }
    }
    if (!key.IsEditable()) CheckFixedField(key, line + kFieldLine, k);
  }

  // A box of a key: its size, inside its group, inside every served sheet.
  void CheckPlaced(const TemplateGroup& group, const TemplateBox& groupSpace, const TemplateBox& box, int line,
                   int k, const QString& what) {
    if (!CheckSize(box, line, k, what)) return;
    if (!groupSpace.Contains(box)) {
      Add(Severity::kWarning, line, k, QStringLiteral("%1がグループの外にはみ出しています。").arg(what));
    }
    const TemplateBox onSheet = box.MovedBy(group.box.x.value(), group.box.y.value());
    for (const ServedSheet& s : sheets_) {
      if (!SheetBox(s.sheet).Contains(onSheet)) Add(Severity::kWarning, line, k, OutsideSheet(what, s));
    }
  }

  bool CheckSize(const TemplateBox& box, int line, int k, const QString& what) {
    if (box.width.value() > Decimal4() && box.height.value() > Decimal4()) return true;
    const bool width = box.width.value() <= Decimal4();
    Add(Severity::kError, line + (width ? 2 : 3), k,
        QStringLiteral("%1の%2が0以下です。").arg(what, width ? QStringLiteral("幅") : QStringLiteral("高さ")));
    return false;
  }

  // A fixed key's text starts at byte 7 only when bytes 5-6 hold its size
  // in two digits.
  void CheckFixedField(const TemplateKey& key, int line, int k) {
    const QByteArray& f = key.keyNumber;
    if (f.size() <= 4 || (f.size() >= 6 && IsDigit(f[4]) && IsDigit(f[5]))) return;
    if (SplitsCharacterAt(f, 6)) {
      Add(Severity::kError, line, k,
          QStringLiteral("固定キーの文字サイズが5～6バイト目の2桁ではないため、文字が途中で切れます（例: -01,09保留）。"));
    } else {
      Add(Severity::kWarning, line, k,
          QStringLiteral("固定キーの文字サイズが5～6バイト目の2桁ではないため、文字がずれます（例: -01,09保留）。"));
    }
  }

  void CheckAcrossKeys() {
    struct Placed {
      TemplateBox outline;
      int number;
    };
    QList<Placed> placed;
    for (int k = 0; k < model_.KeyCount(); ++k) {
      int g = 0;
      const TemplateKey& key = model_.Key(k, &g);
      const TemplateGroup& group = model_.groups[g];
      const TemplateBox outline = key.outline.MovedBy(group.box.x.value(), group.box.y.value());
      const int number = key.IsEditable() ? KeyNumberValue(key.keyNumber) : 0;
      const int line = KeyLineOf(model_, k);
      for (int other = 0; other < placed.size(); ++other) {
        if (outline.Overlaps(placed[other].outline)) {
          Add(Severity::kWarning, line + kOutlineLine, k,
              QStringLiteral("キーの外枠が%1番目のキーと重なっています。").arg(other + 1));
        }
        if (number > 0 && number == placed[other].number) {
          Add(Severity::kWarning, line + kFieldLine, k,
              QStringLiteral("キー番号%1が%2番目のキーと同じです。").arg(number).arg(other + 1));
        }
      }
      placed.append({outline, number});
    }
  }

  QString OutsideSheet(const QString& what, const ServedSheet& s) const {
    return QStringLiteral("%1が%2の用紙（%3 × %4 mm）の外にはみ出しています。")
        .arg(what, SeriesList(s.series), QString::fromLatin1(s.sheet.width.ToText()),
             QString::fromLatin1(s.sheet.height.ToText()));
  }

  void Add(Severity severity, int line, int key, const QString& reason) {
    faults_.append({severity, line, key, reason});
  }

  const StripTemplate& model_;
  QList<ServedSheet> sheets_;
  QList<TemplateFault> faults_;
};

QString StripTypeOfFileName(const QString& fileName) { return fileName.section(QLatin1Char('.'), 0, 0); }

// Why a readable file is not offered, or an empty text when it is.
QString NotOfferedReason(const TemplateFileInfo& info, const QStringList& folders,
                         const QStringList& typesBefore) {
  if (info.stripType.isEmpty()) return QStringLiteral("ファイル名が「.」で始まるため、タイプ名がありません。");
  if (typesBefore.contains(info.stripType, Qt::CaseInsensitive)) {
    return QStringLiteral("同じ名前のタイプが先に検索されるフォルダーにあり、そちらが使われます。");
  }
  if (QFileInfo(FindTemplateFile(folders.at(info.folderIndex), info.stripType)) != QFileInfo(info.path)) {
    return QStringLiteral("ファイル名に「.」が2つ以上あるため、タイプ「%1」から見つけられません。").arg(info.stripType);
  }
  if (info.series.isEmpty()) return QStringLiteral("タイトル行がどのシリーズも指定していません。");
  return {};
}

}  // namespace

QList<TemplateFault> CheckTemplateBytes(const QByteArray& bytes, const QByteArray& stripType) {
  const Lines lines = SplitLines(bytes);
  TemplateReading reading = ReadTemplate(lines);
  QList<TemplateFault> faults = reading.faults;
  CheckEncoding(lines, bytes, faults);
  if (reading.model) faults << CheckTemplate(*reading.model, stripType);
  std::stable_sort(faults.begin(), faults.end(),
                   [](const TemplateFault& a, const TemplateFault& b) { return a.line < b.line; });
  return faults;
}

QList<TemplateFault> CheckTemplate(const StripTemplate& model, const QByteArray& stripType) {
  return ModelCheck(model, stripType).Run();
}

bool HasTemplateErrors(const QList<TemplateFault>& faults) { return FirstTemplateError(faults) != nullptr; }

const TemplateFault* FirstTemplateError(const QList<TemplateFault>& faults) {
  for (const TemplateFault& fault : faults) {
    if (fault.IsError()) return &fault;
  }
  return nullptr;
}

int TemplateCheckLevel(const QList<TemplateFault>& faults) {
  if (HasTemplateErrors(faults)) return 2;
  return faults.isEmpty() ? 0 : 1;
}

QString TemplateCheckSummary(const QList<TemplateFault>& faults) {
  const auto errors = std::count_if(faults.begin(), faults.end(), [](const TemplateFault& f) { return f.IsError(); });
  const auto warnings = faults.size() - errors;
  if (errors > 0) return QStringLiteral("エラー %1件、警告 %2件").arg(errors).arg(warnings);
  if (warnings > 0) return QStringLiteral("警告 %1件").arg(warnings);
  return QStringLiteral("問題なし");
}

QString TemplateFaultLines(const QList<TemplateFault>& faults) {
  QStringList lines;
  for (const TemplateFault& fault : faults) {
    if (lines.size() == 10) {
      lines << QStringLiteral("…ほか%1件").arg(faults.size() - 10);
      break;
    }
    lines << fault.Text();
  }
  return lines.join(QLatin1Char('\n'));
}

int GroupLineOf(const StripTemplate& model, int group) {
  int line = 3;  // title and group count come first
  for (int g = 0; g < group && g < model.groups.size(); ++g) {
    line += layout::kGroupHeaderLines + static_cast<int>(model.groups[g].keys.size()) * TemplateKey::kLines;
  }
  return line;
}

int KeyLineOf(const StripTemplate& model, int key) {
  int line = 3;
  for (const TemplateGroup& group : model.groups) {
    line += layout::kGroupHeaderLines;
    if (key < group.keys.size()) return line + key * TemplateKey::kLines;
    key -= static_cast<int>(group.keys.size());
    line += static_cast<int>(group.keys.size()) * TemplateKey::kLines;
  }
  return line;
}

QList<TemplateFileInfo> SurveyTemplateFolders(const QStringList& folders) {
  QList<TemplateFileInfo> found;
  QStringList typesBefore;  // offered types of the earlier folders
  for (int f = 0; f < folders.size(); ++f) {
    QStringList typesHere;
    for (const QFileInfo& file : QDir(folders[f]).entryInfoList(QDir::Files, QDir::Name)) {
      if (!IsTemplateFileName(file.fileName())) continue;
      TemplateFileInfo info;
      info.path = file.filePath();
      info.fileName = file.fileName();
      info.stripType = StripTypeOfFileName(info.fileName);
      info.folderIndex = f;
      QByteArray bytes;
      if (!ReadFileBytes(info.path, &bytes)) {
        info.notOfferedReason = QStringLiteral("ファイルを読み込めません。");
        found.append(info);
        continue;
      }
      info.faults = CheckTemplateBytes(bytes, sjis::Encode(info.stripType));
      const TemplateReading reading = ReadTemplateBytes(bytes);
      if (reading.model) {
        info.series = reading.model->SeriesServed();
        info.groups = static_cast<int>(reading.model->groups.size());
        info.keys = reading.model->KeyCount();
      } else {
        StripTemplate titleOnly;
        titleOnly.title = SplitLines(bytes).value(0);
        info.series = titleOnly.SeriesServed();
      }
      info.notOfferedReason = NotOfferedReason(info, folders, typesBefore);
      info.offered = info.notOfferedReason.isEmpty();
      if (info.offered) typesHere << info.stripType;
      found.append(info);
    }
    typesBefore << typesHere;
  }
  return found;
}
