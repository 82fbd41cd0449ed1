#pragma once
// The template model: a strip template (a "<strip type>.TPL" file) read into
// its title, groups and keys, and written back byte for byte.
//
// The file, line by line (Shift_JIS, every line ending in CR LF):
//   title line      free text naming every series the template serves
//   group count     G
//   G groups        each: show-numbers flag, x, y, width, height (mm),
//                   key count K, then K key templates of 19 lines:
//     0-3   key outline x, y, width, height   (mm from the group's x, y)
//     4-7   number label x, y, width, height  (mm from the group's x, y)
//     8     number label font name
//     9-13  number label size, colour, bold, italic, alignment
//     14    key number field
//     15-18 text area x, y, width, height     (mm from the group's x, y)
//   anything after the last key template is ignored (and kept as it is).
//
// Every number keeps the bytes it was read as, so a template read and
// written unchanged gives the same file; a number set in code is written in
// its plain form (Decimal4::ToText, or decimal digits). Texts are bytes.
//
// Reading never throws: ReadTemplate gives the model as far as it could be
// read and the faults met on the way; CheckTemplate (TemplateCheck.h) adds
// the faults of a readable model.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "base/Decimal4.h"
#include "base/Lines.h"

// A number of a template line and the bytes it was written as.
template <typename T>
class TemplateNumber {
 public:
  TemplateNumber() = default;
  TemplateNumber(T value) : value_(value) {}  // NOLINT: set in code, written plainly
  // A value read from `text`; Text() gives `text` back while the value is unchanged.
  static TemplateNumber Read(T value, const QByteArray& text) {
    TemplateNumber n(value);
    n.text_ = text;
    return n;
  }

  T value() const { return value_; }
  operator T() const { return value_; }  // NOLINT: reads as its value
  // The bytes the number is written as.
  QByteArray Text() const;

 private:
  T value_{};
  std::optional<QByteArray> text_;  // as read (even an empty line); none for a value set in code
};

using TemplateMm = TemplateNumber<Decimal4>;
using TemplateInt = TemplateNumber<int>;

// A rectangle in millimetres: x and y from the group's origin (for a group,
// from the sheet's top-left corner).
struct TemplateBox {
  TemplateMm x, y, width, height;

  Decimal4 Right() const { return x.value() + width.value(); }
  Decimal4 Bottom() const { return y.value() + height.value(); }
  // Moved by an origin (a group's x and y).
  TemplateBox MovedBy(Decimal4 dx, Decimal4 dy) const;
  // True when `inner` lies wholly inside (edges may touch).
  bool Contains(const TemplateBox& inner) const;
  // True when the two share more than an edge.
  bool Overlaps(const TemplateBox& other) const;
};

// One key template (lines 0 to 18 of a key block).
struct TemplateKey {
  static constexpr int kLines = 19;

  TemplateBox outline;    // lines 0-3
  TemplateBox label;      // lines 4-7: the number label
  QByteArray labelFont;   // line 8
  TemplateInt labelSize;  // line 9, points
  TemplateInt labelColor; // line 10, a Windows colour value (red in the low byte)
  TemplateInt labelBold;  // line 11, non-zero for bold
  TemplateInt labelItalic;// line 12, non-zero for italic
  TemplateInt labelAlign; // line 13: 1 left, 2 centre, 3 right
  QByteArray keyNumber;   // line 14: the key number field
  TemplateBox textArea;   // lines 15-18

  // An editable key: the first three bytes of its field are an integer of 1 or more.
  bool IsEditable() const;
  // The number its label shows (when its group shows numbers): the absolute
  // value of the field's first three bytes, 0 for none.
  int ShownNumber() const;
  // A key with a blank field has no text area at all.
  bool HasTextArea() const;
  // A fixed key's text size (bytes 5-6 of the field; 9 when no number) and
  // text (byte 7 on).
  int FixedTextSize() const;
  QByteArray FixedText() const;
  // The key number field of a fixed key: "-NN,SS" and the text, the number
  // and the size two digits each (so the text starts at byte 7).
  static QByteArray FixedKeyField(int shownNumber, int textSize, const QByteArray& text);

  // The 19 lines as written.
  Lines ToLines() const;
};

struct TemplateGroup {
  TemplateInt showNumbers;  // non-zero shows the key numbers of its keys
  TemplateBox box;          // from the sheet's top-left corner
  QList<TemplateKey> keys;
  QByteArray keyCountText;  // as read; written while it still reads as keys.size()
};

class StripTemplate {
 public:
  QByteArray title;  // line 0, Shift_JIS
  QList<TemplateGroup> groups;
  QByteArray groupCountText;  // as read; written while it still reads as groups.size()
  Lines trailing;             // lines after the last key template, kept as read

  // Series numbers (0-6) the title names, in series order.
  QList<int> SeriesServed() const;
  bool Serves(int series) const;
  int KeyCount() const;
  // Key k across all groups (0-based, document order), with its group.
  const TemplateKey& Key(int k, int* group = nullptr) const;

  // The file's lines, and its bytes (CR LF after every line).
  Lines ToLines() const;
  QByteArray ToBytes() const;
};

// A fault found in a template: where (1-based line, 0 for the whole file;
// the key across all groups, -1 for none) and why.
struct TemplateFault {
  enum class Severity { kError, kWarning };
  Severity severity = Severity::kError;
  int line = 0;
  int key = -1;
  QString reason;  // Japanese, for the user

  bool IsError() const { return severity == Severity::kError; }
  // "12行目（3番目のキー）: reason" – the line and key as the user counts them.
  QString Text() const;
};

struct TemplateReading {
  // The model, when the structure (counts and every number) could be read.
  std::optional<StripTemplate> model;
  QList<TemplateFault> faults;  // errors met while reading, in line order
};

// Reads a template from its lines (as SplitLines gives them). Faults: a count
// that is no number, a number line that holds none, more than 100 groups or
// keys, a file that ends before its last key template.
TemplateReading ReadTemplate(const Lines& lines);
// The same from a file's bytes.
TemplateReading ReadTemplateBytes(const QByteArray& bytes);

// The lines of a new strip from its group count on: every group header and
// key template as the template writes them, each key followed by its start
// lines (KeyStartLines). The same lines StripBodyFromTemplate builds from the
// template's file.
Lines StripBodyOf(const StripTemplate& model);

// The template of a strip's type: its group headers and key lines 0-18 as
// they stand in the strip (a fixed key keeps its key number field), with
// `title` as the title line. DocumentError when the strip is damaged.
StripTemplate TemplateOfStrip(const Lines& lines, qsizetype stripStart, const QByteArray& title);
