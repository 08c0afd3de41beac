#include "icon.h"

#include <string_view>

#include "platform/safefile.h"

namespace host {
namespace {

void Put16(std::vector<std::uint8_t>& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// Whether pixel (x, y), y counted from the top, belongs to the tag: a
// square with its upper-left corner cut off and a hole near that corner.
bool OnTag(int x, int y) {
  if (x < 2 || y < 2 || x > 13 || y > 13) return false;
  if (x + y < 9) return false;
  if ((x - 6) * (x - 6) + (y - 6) * (y - 6) <= 2) return false;
  return true;
}

}  // namespace

std::vector<std::uint8_t> IconFileBytes() {
  constexpr int kSide = 16;
  constexpr std::uint32_t kHeader = 40;
  constexpr std::uint32_t kXor = kSide * kSide * 4;
  constexpr std::uint32_t kAnd = kSide * 4;  // 16 bits a row, padded to 32
  constexpr std::uint32_t kImage = kHeader + kXor + kAnd;

  std::vector<std::uint8_t> b;
  // ICONDIR and its one entry.
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, 1);
  b.push_back(kSide);
  b.push_back(kSide);
  b.push_back(0);  // no palette
  b.push_back(0);
  Put16(b, 1);   // planes
  Put16(b, 32);  // bits per pixel
  Put32(b, kImage);
  Put32(b, 6 + 16);
  // BITMAPINFOHEADER: the height counts the colour and the mask images.
  Put32(b, kHeader);
  Put32(b, kSide);
  Put32(b, kSide * 2);
  Put16(b, 1);
  Put16(b, 32);
  for (int i = 0; i < 6; ++i) Put32(b, i == 1 ? kXor + kAnd : 0);
  // Colour image, bottom row first, BGRA.
  for (int row = kSide - 1; row >= 0; --row) {
    for (int x = 0; x < kSide; ++x) {
      bool on = OnTag(x, row);
      b.push_back(on ? 0x20 : 0);  // blue
      b.push_back(on ? 0x8C : 0);  // green
      b.push_back(on ? 0xE0 : 0);  // red
      b.push_back(on ? 0xFF : 0);  // alpha
    }
  }
  // Transparency mask, bottom row first: a set bit is transparent.
  for (int row = kSide - 1; row >= 0; --row) {
    std::uint16_t bits = 0;
    for (int x = 0; x < kSide; ++x)
      if (!OnTag(x, row)) bits |= 0x8000 >> x;
    b.push_back(bits >> 8);
    b.push_back(bits & 0xFF);
    b.push_back(0);
    b.push_back(0);
  }
  return b;
}

bool WriteIconFile(const std::string& path) {
  const auto bytes = IconFileBytes();
  return plat::WriteFileSafely(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace host
