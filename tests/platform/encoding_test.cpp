#include "platform/encoding.h"

#include <gtest/gtest.h>

#include "platform/clipboard.h"

namespace {

TEST(Encoding, Windows1252RoundTrip) {
  // Fault: the 0x80-0x9F block mapped as Latin-1, or unmappable text corrupting neighbours.
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(plat::Utf8ToAnsi(plat::AnsiToUtf8(all)), all);
  EXPECT_EQ(plat::AnsiToUtf8("\x80 \xE8 \xB4"), "€ è ´");
  EXPECT_EQ(plat::Utf8ToAnsi("perché € ´"), "perch\xE9 \x80 \xB4");
  EXPECT_EQ(plat::Utf8ToAnsi("a€Ωb😀c"), "a\x80?b?c");
  EXPECT_EQ(plat::Utf8ToAnsi("x\xC3y"), "x?y");  // cut sequence
}

TEST(Encoding, Utf16RoundTrip) {
  // Fault: characters outside the basic plane split wrongly, malformed bytes dropped silently.
  const std::string text = "Città € 😀";
  const std::u16string w = plat::Utf8ToUtf16(text);
  EXPECT_EQ(w.size(), 10u);
  EXPECT_EQ(plat::Utf16ToUtf8(w), text);
  EXPECT_EQ(plat::Utf8ToUtf16("\xFF"), u"\uFFFD");
  EXPECT_EQ(plat::Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
  EXPECT_TRUE(plat::IsValidUtf8(text));
  EXPECT_FALSE(plat::IsValidUtf8("\xC0\x80"));  // overlong NUL
}

TEST(Clipboard, HoldsOneText) {
  // Fault: an empty text treated as no text, or Clear leaving the old text.
  plat::Clipboard::Clear();
  EXPECT_FALSE(plat::Clipboard::HasText());
  plat::Clipboard::SetText("");
  EXPECT_TRUE(plat::Clipboard::HasText());
  plat::Clipboard::SetText("riga1\r\nriga2");
  EXPECT_EQ(plat::Clipboard::GetText(), "riga1\r\nriga2");
  plat::Clipboard::Clear();
  EXPECT_EQ(plat::Clipboard::GetText(), "");
}

}  // namespace
