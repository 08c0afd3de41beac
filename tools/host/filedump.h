#pragma once
// The host's "file" command: a file's bytes printed readably, so that a
// script can look at what the module wrote and compare it with an expected
// file byte for byte.
#include <cstddef>
#include <string>

namespace host {

// Printable ASCII stays, "\" is doubled, CR prints as "\r", LF as "\n" and
// ends the printed line, any other byte as "\xNN" (upper-case hex). At most
// `maxLines` lines (ending in LF) are printed when it is above 0.
std::string ReadableBytes(const std::string& bytes, int maxLines = 0);

// Position of the first byte where the two differ (the shorter one's length
// when one is the start of the other); npos when they are equal.
std::size_t FirstDifference(const std::string& a, const std::string& b);

// The whole file; throws std::runtime_error when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace host
