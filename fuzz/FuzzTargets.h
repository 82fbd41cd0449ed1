#pragma once
// One entry point per parser of the program, each taking any bytes. The
// libFuzzer programs (built with -DFUZZ=ON) call them with generated input;
// the normal tests replay every kept regression input through all of them.
// A target returns normally for every input; a broken property of the
// parser it checks ends the process (abort), as a fuzzer expects.

#include <cstddef>
#include <cstdint>
#include <vector>

using FuzzFunction = int (*)(const uint8_t* data, size_t size);

struct FuzzTarget {
  const char* name;
  FuzzFunction run;
};

int FuzzDataFile(const uint8_t* data, size_t size);     // data file, list rows, the check
int FuzzOldLayout(const uint8_t* data, size_t size);    // conversion of the old layout
int FuzzStripPlan(const uint8_t* data, size_t size);    // laying out every strip of a file
int FuzzKeyText(const uint8_t* data, size_t size);      // DrawKeyText of a key block
int FuzzTemplate(const uint8_t* data, size_t size);     // *.TPL
int FuzzKeyLabels(const uint8_t* data, size_t size);    // VRDKey*.ini palette lists
int FuzzIniFile(const uint8_t* data, size_t size);      // VRD6S.ini
int FuzzBase64(const uint8_t* data, size_t size);       // picture data
int FuzzShiftJis(const uint8_t* data, size_t size);     // Decode, Encode, CutToBytes
int FuzzNumbers(const uint8_t* data, size_t size);      // integers, Decimal4, colour pairs
int FuzzPicture(const uint8_t* data, size_t size);      // JPEG and bitmap pictures of keys
int FuzzCsv(const uint8_t* data, size_t size);          // CSV files imported into strips

// Every target, by the name its fuzzer program carries (fuzz_<name>).
const std::vector<FuzzTarget>& FuzzTargets();

// The targets that draw need a GUI application; this makes one (offscreen)
// when none is running.
void EnsureGuiApplication();
