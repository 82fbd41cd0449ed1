#include "view/KeyTextLoad.h"

#include "base/ShiftJis.h"

namespace {

// Cuts the key's lines, writing back those that change; returns the cut lines.
Lines CutTextLines(StripDocument& document, qsizetype keyLine, int* written) {
  const int count = ReadCount(document.lines(), keyLine + layout::kTextCount);
  Lines text;
  for (int i = 0; i < count; ++i) {
    const qsizetype at = keyLine + layout::kFirstText + i;
    const QByteArray& line = document.at(at);
    QByteArray cut = CutToBytes(line, layout::kTextLineBytes);
    if (cut.size() != line.size()) {
      document.Replace(at, cut);
      ++*written;
    }
    text.append(cut);
  }
  return text;
}

}  // namespace

Lines LoadKeyTextLines(StripDocument& document, qsizetype keyLine) {
  int written = 0;
  return CutTextLines(document, keyLine, &written);
}

int CutLongKeyTextLines(StripDocument& document, const StripPlan& plan) {
  int written = 0;
  for (const KeyPlan& key : plan.keys) CutTextLines(document, key.blockLine, &written);
  return written;
}
