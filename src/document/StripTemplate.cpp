#include "document/StripTemplate.h"

#include <cstdlib>
#include <type_traits>

#include "base/LineIO.h"
#include "base/Numbers.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripLayout.h"
#include "document/Template.h"

namespace {

constexpr int kDefaultTextSize = 9;

QByteArray PlainText(Decimal4 value) { return value.ToText(); }
QByteArray PlainText(int value) { return QByteArray::number(value); }

std::optional<Decimal4> ParseNumber(QByteArrayView text, Decimal4*) { return Decimal4::FromText(text); }
std::optional<int> ParseNumber(QByteArrayView text, int*) { return ParseInt(text); }

// A count as it was read, while it still reads as `count`; else the plain number.
QByteArray CountText(const QByteArray& read, qsizetype count) {
  if (ParseInt(read) == count) return read;
  return QByteArray::number(count);
}

void AppendBox(Lines& lines, const TemplateBox& box) {
  lines << box.x.Text() << box.y.Text() << box.width.Text() << box.height.Text();
}

// Reads the template line by line, noting every fault; a fault in the
// structure (a count, a limit, the end of the file) stops it.
class TemplateReader {
 public:
  explicit TemplateReader(const Lines& lines) : lines_(lines) {}

  TemplateReading Read() {
    TemplateReading reading;
    StripTemplate model;
    model.title = lines_.value(0);
    if (lines_.isEmpty()) {
      Fault(0, -1, QStringLiteral("ファイルが空です。"));
    } else if (ReadStructure(model)) {
      model.trailing = lines_.mid(at_);
      reading.model = std::move(model);
    }
    reading.faults = std::move(faults_);
    return reading;
  }

 private:
  bool ReadStructure(StripTemplate& model) {
    at_ = 1;
    const std::optional<int> groups = Count(QStringLiteral("グループ数"), layout::kMaxGroups,
                                            QStringLiteral("グループが100個を超えています。"), &model.groupCountText);
    if (!groups) return false;
    int keys = 0;
    for (int g = 0; g < *groups; ++g) {
      if (at_ + layout::kGroupHeaderLines > lines_.size()) return EndsEarly(-1);
      // A group header's faults belong to no key.
      TemplateGroup group;
      group.showNumbers = Number<int>(-1);
      group.box = Box(-1);
      const std::optional<int> count =
          Count(QStringLiteral("キー数"), layout::kMaxKeys - keys,
                QStringLiteral("キーが合わせて100個を超えています。"), &group.keyCountText);
      if (!count) return false;
      for (int k = 0; k < *count; ++k, ++keys) {
        if (at_ + TemplateKey::kLines > lines_.size()) return EndsEarly(keys);
        group.keys.append(Key(keys));
      }
      model.groups.append(std::move(group));
    }
    return true;
  }

  std::optional<int> Count(const QString& what, int limit, const QString& tooMany, QByteArray* text) {
    if (at_ >= lines_.size()) {
      EndsEarly(-1);
      return std::nullopt;
    }
    *text = lines_[at_];
    const std::optional<int> count = ParseInt(*text);
    if (!count || *count < 0) {
      Fault(at_ + 1, -1, QStringLiteral("%1が0以上の整数ではありません。").arg(what));
      return std::nullopt;
    }
    if (*count > limit) {
      Fault(at_ + 1, -1, tooMany);
      return std::nullopt;
    }
    ++at_;
    return count;
  }

  bool EndsEarly(int key) {
    Fault(lines_.size() + 1, key,
          QStringLiteral("ファイルが途中で終わっています（%1行しかありません）。").arg(lines_.size()));
    return false;
  }

  // The number at the cursor; a line that holds none is a fault, read as 0
  // with its bytes kept. A missing line reads as an empty one (the caller
  // has checked that the lines exist).
  template <typename T>
  TemplateNumber<T> Number(int key) {
    const QByteArray text = lines_.value(at_++);
    const std::optional<T> value = ParseNumber(text, static_cast<T*>(nullptr));
    if (!value) {
      Fault(at_, key, std::is_same_v<T, int> ? QStringLiteral("整数ではありません。")
                                               : QStringLiteral("ミリメートルの数値ではありません。"));
      return TemplateNumber<T>::Read(T{}, text);
    }
    return TemplateNumber<T>::Read(*value, text);
  }

  TemplateBox Box(int key) {
    TemplateBox box;
    box.x = Number<Decimal4>(key);
    box.y = Number<Decimal4>(key);
    box.width = Number<Decimal4>(key);
    box.height = Number<Decimal4>(key);
    return box;
  }

  TemplateKey Key(int index) {
    TemplateKey key;
    key.outline = Box(index);
    key.label = Box(index);
    key.labelFont = lines_[at_++];
    key.labelSize = Number<int>(index);
    key.labelColor = Number<int>(index);
    key.labelBold = Number<int>(index);
    key.labelItalic = Number<int>(index);
    key.labelAlign = Number<int>(index);
    key.keyNumber = lines_[at_++];
    key.textArea = Box(index);
    return key;
  }

  void Fault(int line, int key, const QString& reason) {
    faults_.append({TemplateFault::Severity::kError, line, key, reason});
  }

  const Lines& lines_;
  qsizetype at_ = 0;
  QList<TemplateFault> faults_;
};

}  // namespace

template <typename T>
QByteArray TemplateNumber<T>::Text() const {
  return text_ ? *text_ : PlainText(value_);
}

template class TemplateNumber<Decimal4>;
template class TemplateNumber<int>;

TemplateBox TemplateBox::MovedBy(Decimal4 dx, Decimal4 dy) const {
  TemplateBox moved = *this;
  moved.x = x.value() + dx;
  moved.y = y.value() + dy;
  return moved;
}

bool TemplateBox::Contains(const TemplateBox& inner) const {
  return inner.x.value() >= x.value() && inner.y.value() >= y.value() && inner.Right() <= Right() &&
         inner.Bottom() <= Bottom();
}

bool TemplateBox::Overlaps(const TemplateBox& other) const {
  return x.value() < other.Right() && other.x.value() < Right() && y.value() < other.Bottom() &&
         other.y.value() < Bottom();
}

bool TemplateKey::IsEditable() const { return IsEditableTemplateKey(keyNumber); }

int TemplateKey::ShownNumber() const { return KeyNumberShown(keyNumber); }

bool TemplateKey::HasTextArea() const { return !keyNumber.trimmed().isEmpty(); }

int TemplateKey::FixedTextSize() const { return ParseIntOr(keyNumber.mid(4, 2), kDefaultTextSize); }

QByteArray TemplateKey::FixedText() const { return keyNumber.mid(6); }

QByteArray TemplateKey::FixedKeyField(int shownNumber, int textSize, const QByteArray& text) {
  const QByteArray number = QByteArray::number(std::abs(shownNumber) % 100).rightJustified(2, '0');
  const QByteArray size = QByteArray::number(std::abs(textSize) % 100).rightJustified(2, '0');
  return '-' + number + ',' + size + text;
}

Lines TemplateKey::ToLines() const {
  Lines lines;
  lines.reserve(kLines);
  AppendBox(lines, outline);
  AppendBox(lines, label);
  lines << labelFont << labelSize.Text() << labelColor.Text() << labelBold.Text() << labelItalic.Text()
        << labelAlign.Text() << keyNumber;
  AppendBox(lines, textArea);
  return lines;
}

QList<int> StripTemplate::SeriesServed() const {
  QList<int> served;
  for (int s = 0; s < kSeriesCount; ++s) {
    if (Serves(s)) served << s;
  }
  return served;
}

bool StripTemplate::Serves(int series) const {
  return IsSeries(series) && TemplateServesSeries(title, sjis::Encode(SeriesName(series)));
}

int StripTemplate::KeyCount() const {
  int keys = 0;
  for (const TemplateGroup& group : groups) keys += static_cast<int>(group.keys.size());
  return keys;
}

const TemplateKey& StripTemplate::Key(int k, int* group) const {
  for (int g = 0; g < groups.size(); ++g) {
    if (k < groups[g].keys.size()) {
      if (group) *group = g;
      return groups[g].keys[k];
    }
    k -= static_cast<int>(groups[g].keys.size());
  }
  Q_ASSERT_X(false, "StripTemplate::Key", "no such key");
  static const TemplateKey none;
  return none;
}

Lines StripTemplate::ToLines() const {
  Lines lines{title, CountText(groupCountText, groups.size())};
  for (const TemplateGroup& group : groups) {
    lines << group.showNumbers.Text();
    AppendBox(lines, group.box);
    lines << CountText(group.keyCountText, group.keys.size());
    for (const TemplateKey& key : group.keys) lines << key.ToLines();
  }
  lines << trailing;
  return lines;
}

QByteArray StripTemplate::ToBytes() const { return JoinLines(ToLines()); }

QString TemplateFault::Text() const {
  QString where = line > 0 ? QStringLiteral("%1行目").arg(line) : QStringLiteral("ファイル");
  if (key >= 0) where += QStringLiteral("（%1番目のキー）").arg(key + 1);
  return where + QStringLiteral(": ") + reason;
}

TemplateReading ReadTemplate(const Lines& lines) { return TemplateReader(lines).Read(); }

TemplateReading ReadTemplateBytes(const QByteArray& bytes) { return ReadTemplate(SplitLines(bytes)); }

Lines StripBodyOf(const StripTemplate& model) {
  Lines body{CountText(model.groupCountText, model.groups.size())};
  for (const TemplateGroup& group : model.groups) {
    body << group.showNumbers.Text();
    AppendBox(body, group.box);
    body << CountText(group.keyCountText, group.keys.size());
    for (const TemplateKey& key : group.keys) body << key.ToLines() << KeyStartLines(key.keyNumber);
  }
  return body;
}

StripTemplate TemplateOfStrip(const Lines& lines, qsizetype stripStart, const QByteArray& title) {
  Lines file{title};
  const int groups = ReadCount(lines, stripStart + layout::kGroupCount);
  file << LineAt(lines, stripStart + layout::kGroupCount);
  qsizetype at = stripStart + layout::kFirstGroup;
  for (int g = 0; g < groups; ++g) {
    for (int i = 0; i < layout::kGroupHeaderLines; ++i) file << LineAt(lines, at + i);
    const int keys = ReadCount(lines, at + layout::kKeyCount);
    at += layout::kGroupHeaderLines;
    for (int k = 0; k < keys; ++k) {
      for (int i = 0; i < layout::kKeyTemplateLines; ++i) file << LineAt(lines, at + i);
      at += KeyBlockLength(lines, at);
    }
  }
  TemplateReading reading = ReadTemplate(file);
  if (!reading.model) {
    const TemplateFault& fault = reading.faults.first();
    throw DocumentError(stripStart, fault.reason);
  }
  return std::move(*reading.model);
}
