// Find and replace over 1,000 strips of 48 keys. A search for a text found
// nowhere walks every key of every strip and must cost no more than three
// times the check walk of the same document; replacing one word in every
// key must take at most one second.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "GenerateStrips.h"
#include "Timing.h"
#include "base/ShiftJis.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"
#include "view/KeySearch.h"

namespace {

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int strips = 1000;
  const Lines lines = bench::GeneratedDocument(strips);
  StripDocument document;
  document.SetLines(lines);

  const double check = bench::FastestMilliseconds([&] { CheckDocument(document.lines()); });

  SearchRequest nowhere;
  nowhere.searchText = sjis::Encode(QStringLiteral("該当なし"));
  nowhere.fromTop = true;
  bool found = false;
  const double find = bench::FastestMilliseconds([&] {
    SearchState state;
    found |= SearchKeyTexts(document, state, SearchMode::Find, nowhere, {0, 0}).found;
  });
  SearchRequest folded = nowhere;
  folded.searchText = "zzz";
  const double findFolded = bench::FastestMilliseconds([&] {
    SearchState state;
    found |= SearchKeyTexts(document, state, SearchMode::Find, folded, {0, 0}).found;
  });
  if (found) std::fprintf(stderr, "bench_search: the text was found\n");

  SearchRequest word;
  word.searchText = sjis::Encode(QStringLiteral("外線"));
  word.replacement = sjis::Encode(QStringLiteral("局線"));
  word.fromTop = true;
  int count = 0;
  const double replaceAll = bench::FastestMilliseconds(
      [&] { count = ReplaceAllKeyTexts(document, SearchState(), word, {0, 0}); },
      [&] { document.SetLines(lines); });

  std::printf("%d strips of 48 keys, fastest of 7 runs, ms\n", strips);
  std::printf("%-44s %10.2f\n", "check walk of every key", check);
  std::printf("%-44s %10.2f  (%.2f x check walk, limit 3)\n", "find, text found nowhere", find, find / check);
  std::printf("%-44s %10.2f  (%.2f x check walk)\n", "find, ASCII text found nowhere, case folded",
              findFolded, findFolded / check);
  std::printf("%-44s %10.2f  (%d replaced, limit 1000 ms)\n", "replace all, one word in every key", replaceAll,
              count);
  return 0;
}
