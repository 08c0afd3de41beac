#include "ui/graphics.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

extern "C" {
#include <jpeglib.h>
}

#include "ui/types.h"

namespace ui {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("Cannot open file \"" + path + "\"");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JpegFail(j_common_ptr info) {
  auto* err = reinterpret_cast<JpegError*>(info->err);
  info->err->format_message(info, err->message);
  std::longjmp(err->jump, 1);
}

// libjpeg reports errors by longjmp; nothing with a destructor may live
// between setjmp and the decoder calls, so the rows go into a plain buffer
// owned by the caller.
bool DecodeJpeg(const std::vector<std::uint8_t>& data, int& w, int& h,
                std::vector<std::uint8_t>& out, std::string& error) {
  jpeg_decompress_struct info;
  JpegError err;
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegFail;
  if (setjmp(err.jump)) {
    error = err.message;
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), (unsigned long)data.size());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  w = int(info.output_width);
  h = int(info.output_height);
  out.resize(size_t(w) * size_t(h) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.data() + size_t(info.output_scanline) * size_t(w) * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& d, size_t at) {
  if (at + 4 > d.size()) throw Error("Bitmap image is not valid");
  return std::uint32_t(d[at]) | std::uint32_t(d[at + 1]) << 8 | std::uint32_t(d[at + 2]) << 16 |
         std::uint32_t(d[at + 3]) << 24;
}
std::uint16_t Le16(const std::vector<std::uint8_t>& d, size_t at) {
  if (at + 2 > d.size()) throw Error("Bitmap image is not valid");
  return std::uint16_t(d[at] | d[at + 1] << 8);
}

// Uncompressed BMPs of 8, 24 or 32 bits a pixel, bottom-up or top-down.
void DecodeBmp(const std::vector<std::uint8_t>& d, int& w, int& h, std::vector<std::uint8_t>& out) {
  std::uint32_t offset = Le32(d, 10), header = Le32(d, 14);
  std::int32_t width = std::int32_t(Le32(d, 18)), height = std::int32_t(Le32(d, 22));
  int bits = Le16(d, 28);
  std::uint32_t compression = header >= 40 ? Le32(d, 30) : 0;
  if (width <= 0 || height == 0 || (compression != 0 && compression != 3) ||
      (bits != 8 && bits != 24 && bits != 32))
    throw Error("Bitmap image is not valid");
  bool topDown = height < 0;
  w = width;
  h = topDown ? -height : height;
  size_t stride = (size_t(w) * size_t(bits) / 8 + 3) & ~size_t(3);
  if (offset + stride * size_t(h) > d.size()) throw Error("Bitmap image is not valid");
  size_t palette = 14 + header;
  out.resize(size_t(w) * size_t(h) * 3);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = d.data() + offset + stride * size_t(topDown ? y : h - 1 - y);
    std::uint8_t* dst = out.data() + size_t(y) * size_t(w) * 3;
    for (int x = 0; x < w; ++x, dst += 3) {
      const std::uint8_t* px = src;
      if (bits == 8) {
        size_t entry = palette + size_t(src[x]) * 4;
        if (entry + 3 > d.size()) throw Error("Bitmap image is not valid");
        px = d.data() + entry;
      } else {
        px = src + size_t(x) * size_t(bits / 8);
      }
      dst[0] = px[2];
      dst[1] = px[1];
      dst[2] = px[0];
    }
  }
}

}  // namespace

void Picture::LoadFromFile(const std::string& path) {
  Clear();
  auto data = ReadFile(path);
  int w = 0, h = 0;
  std::vector<std::uint8_t> px;
  std::string format;
  if (data.size() > 3 && data[0] == 0xFF && data[1] == 0xD8) {
    std::string error;
    if (!DecodeJpeg(data, w, h, px, error)) throw Error("JPEG error: " + error);
    format = "JPEG";
  } else if (data.size() > 54 && data[0] == 'B' && data[1] == 'M') {
    DecodeBmp(data, w, h, px);
    format = "BMP";
  } else {
    throw Error("Unknown picture file extension or format (" + path + ")");
  }
  width_ = w;
  height_ = h;
  pixels_ = std::move(px);
  fileName_ = path;
  format_ = format;
}

void Picture::Clear() { *this = Picture(); }

std::uint32_t Picture::PixelColor(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* p = pixels_.data() + (size_t(y) * size_t(width_) + size_t(x)) * 3;
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
}

bool Icon::LoadFromFile(const std::string& path) {
  Clear();
  std::vector<std::uint8_t> d;
  try {
    d = ReadFile(path);
  } catch (const Error&) {
    return false;
  }
  // ICONDIR: reserved 0, type 1, count; then 16-byte entries whose first
  // two bytes are width and height (0 meaning 256).
  if (d.size() < 6 + 16 || d[0] || d[1] || d[2] != 1 || d[3]) return false;
  int count = d[4] | d[5] << 8;
  if (count == 0 || d.size() < 6 + size_t(count) * 16) return false;
  loaded_ = true;
  fileName_ = path;
  count_ = count;
  width_ = d[6] ? d[6] : 256;
  height_ = d[7] ? d[7] : 256;
  return true;
}

}  // namespace ui
