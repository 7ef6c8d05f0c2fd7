// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer then saves the input that broke it) and the code page an input
// chooses.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "platform/Platform.h"

#define FUZZ_CHECK(condition)                                                           \
  do {                                                                                  \
    if (!(condition)) {                                                                 \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)

inline platform::CodePage CodePageOf(unsigned char b) {
  switch (b % 3) {
    case 0: return platform::CodePage::Cp932;
    case 1: return platform::CodePage::Utf8;
    default: return platform::CodePage::SingleByte;
  }
}
