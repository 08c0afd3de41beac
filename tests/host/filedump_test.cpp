// The host's "file" command: bytes printed readably and compared.
#include "filedump.h"

#include <gtest/gtest.h>

namespace {

TEST(FileDump, PrintsEveryByteSoThatTwoFilesThatLookAlikeAreAlike) {
  // Fault: a CR, a byte above 127 or a backslash printed as itself, so a
  // script could not tell "\r\n" from "\n", "´" in UTF-8 from Windows-1252,
  // or a printed escape from the same text in the file.
  EXPECT_EQ(host::ReadableBytes("a;b\r\nc\xB4\\n\n"), "a;b\\r\\n\nc\\xB4\\\\n\\n\n");
  EXPECT_EQ(host::ReadableBytes(std::string("\x00\x1F\x7F", 3)), "\\x00\\x1F\\x7F");
  EXPECT_EQ(host::ReadableBytes("1\n2\n3\n", 2), "1\\n\n2\\n\n");
  EXPECT_EQ(host::FirstDifference("abc", "abc"), std::string::npos);
  EXPECT_EQ(host::FirstDifference("abc", "abd"), 2u);
  EXPECT_EQ(host::FirstDifference("abc\r\n", "abc"), 3u);
}

}  // namespace
