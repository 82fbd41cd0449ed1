// The libFuzzer entry point of one target, chosen when the program is built.
#include <cstring>

#include "FuzzTargets.h"

#ifndef LABELKOBO_FUZZ_TARGET
#error "LABELKOBO_FUZZ_TARGET names the target"
#endif

namespace {

FuzzFunction Target() {
  static FuzzFunction chosen = [] {
    for (const FuzzTarget& t : FuzzTargets()) {
      if (std::strcmp(t.name, LABELKOBO_FUZZ_TARGET) == 0) return t.run;
    }
    return FuzzFunction(nullptr);
  }();
  return chosen;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnsureGuiApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return Target()(data, size); }
