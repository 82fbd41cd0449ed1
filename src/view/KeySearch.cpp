#include "view/KeySearch.h"

#include <algorithm>

#include "base/ShiftJis.h"
#include "document/StripLayout.h"

namespace {

using namespace layout;

// Steps through the key blocks of one strip in key order, reading only the
// group count, the key counts and the text counts. Stops (Valid() false) at
// the last key, at a damaged count and at a block that would run into the
// next strip.
class KeyWalk {
 public:
  KeyWalk(const Lines& lines, qsizetype stripStart, qsizetype stripEnd, int key)
      : lines_(lines), end_(stripEnd) {
    if (key < 0) return;
    try {
      groupsLeft_ = ReadCount(lines_, stripStart + kGroupCount);
      EnterGroupAt(stripStart + kFirstGroup, key);
    } catch (const DocumentError&) {
      keyLine_ = -1;
    }
  }

  bool Valid() const { return keyLine_ >= 0; }
  qsizetype Line() const { return keyLine_; }

  void Next() {
    if (!Valid()) return;
    try {
      const qsizetype after = keyLine_ + KeyBlockLength(lines_, keyLine_);
      if (keysLeft_ > 0) {
        --keysLeft_;
        Settle(after);
      } else {
        EnterGroupAt(after, 0);
      }
    } catch (const DocumentError&) {
      keyLine_ = -1;
    }
  }

 private:
  // Finds key `skip` (0-based) counting from the group at `groupLine`.
  void EnterGroupAt(qsizetype groupLine, int skip) {
    while (groupsLeft_ > 0 && groupLine < end_) {
      --groupsLeft_;
      const int keys = ReadCount(lines_, groupLine + kKeyCount);
      if (skip >= keys) {
        skip -= keys;
        groupLine += GroupLength(lines_, groupLine);
        continue;
      }
      qsizetype line = groupLine + kGroupHeaderLines;
      for (int i = 0; i < skip; ++i) line += KeyBlockLength(lines_, line);
      keysLeft_ = keys - skip - 1;
      Settle(line);
      return;
    }
    keyLine_ = -1;
  }

  void Settle(qsizetype line) {
    keyLine_ = line + KeyBlockLength(lines_, line) <= end_ ? line : -1;
  }

  const Lines& lines_;
  qsizetype end_;
  int groupsLeft_ = 0;
  int keysLeft_ = 0;
  qsizetype keyLine_ = -1;
};

KeyWalk WalkOfStrip(const StripDocument& document, int strip, int key) {
  const qsizetype separator = document.FindStrip(strip);
  if (separator < 0) return KeyWalk(document.lines(), 0, 0, -1);
  return KeyWalk(document.lines(), separator + 1, document.EndOfStrip(strip), key);
}

bool IsAsciiLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

// Bytes taken by the character starting at `at`.
qsizetype CharLength(const QByteArray& line, qsizetype at) {
  return sjis::IsLeadByte(static_cast<unsigned char>(line[at])) && at + 1 < line.size() ? 2 : 1;
}

int TextCount(const Lines& lines, qsizetype keyLine) { return ReadCount(lines, keyLine + kTextCount); }

// The first position after `after` where the search text begins, 0 for none.
int FindInKey(const Lines& lines, qsizetype keyLine, int after, const SearchRequest& request) {
  const QByteArray& text = request.searchText;
  const int count = TextCount(lines, keyLine);
  int base = 0;  // positions before this line
  for (int t = 0; t < count; ++t) {
    const QByteArray& line = lines[keyLine + kFirstText + t];
    for (qsizetype l = 0; l < line.size(); l += CharLength(line, l)) {
      if (line.size() - l < text.size()) break;
      const int position = base + static_cast<int>(l) + 1;
      if (position > after && TextMatchesAt(line, l, text, request.matchCase)) return position;
    }
    base += static_cast<int>(line.size()) + 2;
  }
  return 0;
}

// Replaces the occurrence at `position` when the key's text there still
// equals the search text and the position begins a character.
bool ReplaceAt(StripDocument& document, qsizetype keyLine, int position, const SearchRequest& request) {
  const int count = TextCount(document.lines(), keyLine);
  int base = 0;
  for (int t = 0; t < count; ++t) {
    const qsizetype index = keyLine + kFirstText + t;
    const QByteArray& line = document.at(index);
    const qsizetype offset = position - 1 - base;
    base += static_cast<int>(line.size()) + 2;
    if (offset < 0 || offset >= line.size()) continue;
    qsizetype l = 0;
    while (l < offset) l += CharLength(line, l);
    if (l != offset || line.size() - offset < request.searchText.size() ||
        !TextMatchesAt(line, offset, request.searchText, request.matchCase)) {
      return false;
    }
    // A text line holds 20 bytes, as every commit of a key's text keeps it.
    const QByteArray changed = CutToBytes(
        line.left(offset) + request.replacement + line.mid(offset + request.searchText.size()), kTextLineBytes);
    if (changed != line) document.ReplaceTextLine(index, changed);
    return true;
  }
  return false;
}

int StripCountOf(const StripDocument& document) {
  try {
    return document.StripCount();
  } catch (const DocumentError&) {
    return document.HighestStripNumber();
  }
}

// Where a press starts: the last match, the first strip or the current key.
SearchStart StartOf(const SearchState& state, const SearchRequest& request, SearchStart current) {
  if (state.strip > 0) return {state.strip, state.key};
  if (request.fromTop) return {1, 0};
  return current;
}

}  // namespace

qsizetype LocateKeyBlock(const StripDocument& document, int strip, int key) {
  return WalkOfStrip(document, strip, key).Line();
}

bool TextMatchesAt(const QByteArray& line, qsizetype at, const QByteArray& text, bool matchCase) {
  if (at < 0 || line.size() - at < text.size()) return false;
  const char* here = line.constData() + at;
  if (matchCase) return std::equal(text.begin(), text.end(), here);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const auto a = static_cast<unsigned char>(here[i]);
    const auto b = static_cast<unsigned char>(text[i]);
    if (sjis::IsLeadByte(b) && i + 1 < text.size()) {
      // A double-byte character compares whole: its second byte may be a
      // letter's code (ア is 83 41) and must not fold.
      if (a != b || static_cast<unsigned char>(here[i + 1]) != static_cast<unsigned char>(text[i + 1])) {
        return false;
      }
      ++i;
      continue;
    }
    if (a == b) continue;
    if (!IsAsciiLetter(a) || !IsAsciiLetter(b) || (a | 0x20) != (b | 0x20)) return false;
  }
  return true;
}

SearchStepResult SearchKeyTexts(StripDocument& document, SearchState& state, SearchMode mode,
                                const SearchRequest& request, SearchStart current) {
  SearchStepResult result;
  // An empty text would match at every position and never move on.
  if (request.searchText.isEmpty()) return result;
  const bool fromLast = state.strip > 0;
  const SearchStart start = StartOf(state, request, current);
  int after = fromLast ? state.resume : 0;
  // Only the occurrence the last press showed may be replaced.
  const int pending = fromLast && mode == SearchMode::Replace ? state.pending : 0;
  const int strips = StripCountOf(document);
  int j = start.key;
  for (int i = start.strip; i <= strips; ++i, j = 0) {
    KeyWalk walk = WalkOfStrip(document, i, j);
    for (; walk.Valid(); walk.Next(), ++j, after = 0) {
      if (pending > 0 && i == start.strip && j == start.key && !result.replaced) {
        if (ReplaceAt(document, walk.Line(), pending, request)) {
          const int length = static_cast<int>(request.replacement.size());
          result.replaced = true;
          result.replacement = {i, j, pending, length};
          state.pending = 0;
          after = pending + length - 1;
        }
      }
      const int position = FindInKey(document.lines(), walk.Line(), after, request);
      if (position > 0) {
        state = {i, j, position + static_cast<int>(request.searchText.size()) - 1, position};
        result.found = true;
        return result;
      }
    }
  }
  // The next press starts again in the key of the last match, from its
  // first position.
  state.resume = 0;
  return result;
}

int ReplaceAllKeyTexts(StripDocument& document, const SearchState& state, const SearchRequest& request,
                       SearchStart current, const std::function<void(int, int)>& replaced) {
  if (request.searchText.isEmpty()) return 0;
  const SearchStart start = StartOf(state, request, current);
  // From the occurrence the last press showed, or after the last replacement.
  int after = state.strip > 0 ? (state.pending > 0 ? state.pending - 1 : state.resume) : 0;
  const int strips = StripCountOf(document);
  const int length = static_cast<int>(request.replacement.size());
  int count = 0;
  int j = start.key;
  for (int i = start.strip; i <= strips; ++i, j = 0) {
    for (KeyWalk walk = WalkOfStrip(document, i, j); walk.Valid(); walk.Next(), ++j, after = 0) {
      bool changed = false;
      while (const int position = FindInKey(document.lines(), walk.Line(), after, request)) {
        if (!ReplaceAt(document, walk.Line(), position, request)) break;
        ++count;
        changed = true;
        after = position + length - 1;
      }
      if (changed && replaced) replaced(i, j);
    }
  }
  return count;
}

EditorRange EditorRangeOf(const Lines& text, int position, int length) {
  int base = 0;  // positions before line t
  int chars = 0;  // editor characters before line t
  for (const QByteArray& line : text) {
    const qsizetype offset = position - 1 - base;
    if (offset >= 0 && offset <= line.size()) {
      const int before = static_cast<int>(sjis::Decode(line.left(offset)).size());
      const int through = static_cast<int>(sjis::Decode(line.left(offset + length)).size());
      return {chars + before, through - before};
    }
    base += static_cast<int>(line.size()) + 2;
    chars += static_cast<int>(sjis::Decode(line).size()) + 1;
  }
  return {chars, 0};
}
