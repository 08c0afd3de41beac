#pragma once
// What a fuzz target asserts: a failed check prints what broke and aborts,
// which libFuzzer reports as a crash with the input that caused it.
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(cond, what)                                                           \
  do {                                                                                   \
    if (!(cond)) {                                                                       \
      std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n", __FILE__, __LINE__, #cond, \
                   std::string(what).c_str());                                           \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)
