#pragma once
// Find and replace over the key texts of every strip: the walk from key to
// key and strip to strip, the comparison and the replacement of one line.
//
// Positions count from 1 over a key's text as its editor shows it, in the
// stored Shift_JIS bytes: the text lines joined, every line break counting
// two positions (CR LF). A match begins only on the first byte of a
// character, so it never splits a double-byte character and a replacement
// never leaves half of one behind.

#include <QByteArray>
#include <functional>

#include "document/StripDocument.h"

enum class SearchMode { Find = 0, Replace = 1 };

// What a press of the dialog's button searches for (Shift_JIS bytes).
struct SearchRequest {
  QByteArray searchText;
  QByteArray replacement;  // empty in find mode
  bool matchCase = false;
  bool fromTop = false;
};

// Where the search stands between presses; all 0 when a search starts.
struct SearchState {
  int strip = 0;    // strip number of the last match, 0 for none
  int key = 0;      // key index of the last match within its strip
  int resume = 0;   // positions up to this one of that key are passed over
  int pending = 0;  // position of the last match, still to be replaced; 0 for none
};

// The key the walk starts at when there is no last match.
struct SearchStart {
  int strip = 0;  // the current strip, 0 when none is laid out
  int key = 0;    // the current key
};

// A line changed by a replacement: the replacement text now lies at
// `position` in key `key` of strip `strip`.
struct SearchReplacement {
  int strip = 0;
  int key = 0;
  int position = 0;
  int length = 0;
};

struct SearchStepResult {
  bool found = false;  // the state then names the match: strip, key, pending
  bool replaced = false;
  SearchReplacement replacement;
};

// The document line where key j of strip i begins, or -1 when strip i does
// not exist or has fewer than j + 1 keys. Only strip i's groups and keys are
// walked; strip i itself comes from the document's separator index. A strip
// whose counts are damaged yields -1 from the damage on.
qsizetype LocateKeyBlock(const StripDocument& document, int strip, int key);

// The case rule: with matchCase byte for byte; otherwise the single-byte
// ASCII letters fold, while double-byte characters (whose second byte may
// look like a letter) and full-width letters must be equal.
bool TextMatchesAt(const QByteArray& line, qsizetype at, const QByteArray& text, bool matchCase);

// One press: in replace mode the pending match is replaced first when the
// text there still equals the search text; then the next occurrence is
// found. Nothing found leaves the state's last match for the next press.
SearchStepResult SearchKeyTexts(StripDocument& document, SearchState& state, SearchMode mode,
                                const SearchRequest& request, SearchStart start);

// Every occurrence from the starting point to the end of the last strip,
// replaced; the starting key is taken as the next press would take it, the
// pending match included. Calls `replaced` for each key it changed.
int ReplaceAllKeyTexts(StripDocument& document, const SearchState& state, const SearchRequest& request,
                       SearchStart start, const std::function<void(int strip, int key)>& replaced = {});

// What the find and replace dialog asks of the window that owns the
// document: one press of its button, or the replacement of every occurrence.
class SearchHost {
 public:
  virtual ~SearchHost() = default;
  virtual void SearchKeyTexts(SearchMode mode, const SearchRequest& request) = 0;
  virtual void ReplaceAllKeyTexts(const SearchRequest& request) = 0;
};

// An editor's range for a run of positions in a key's text lines: the
// editor holds the lines decoded and joined by one line break each.
struct EditorRange {
  int start = 0;
  int length = 0;
};
EditorRange EditorRangeOf(const Lines& text, int position, int length);
