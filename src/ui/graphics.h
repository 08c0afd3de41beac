// Pictures decoded from JPEG and BMP files, and window icons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// An RGB bitmap (3 bytes a pixel, rows top to bottom) and the file it came from.
class Picture {
 public:
  // Reads a JPEG (through libjpeg) or a BMP, told apart by their first bytes.
  // Throws ui::Error when the file is missing or not a picture we read; the
  // picture is then left empty.
  void LoadFromFile(const std::string& path);
  void Clear();
  bool Empty() const { return width_ == 0 || height_ == 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }
  // 0x00BBGGRR of one pixel.
  std::uint32_t PixelColor(int x, int y) const;
  const std::string& FileName() const { return fileName_; }
  const std::string& Format() const { return format_; }  // "JPEG", "BMP" or empty

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::uint8_t> pixels_;
  std::string fileName_, format_;
};

// A window icon: the file name, whether it loaded and the first image's size.
class Icon {
 public:
  // Returns false (and keeps the icon empty) when the file is missing or no .ICO.
  bool LoadFromFile(const std::string& path);
  void Clear() { *this = Icon(); }
  bool Loaded() const { return loaded_; }
  const std::string& FileName() const { return fileName_; }
  int ImageCount() const { return count_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  bool loaded_ = false;
  std::string fileName_;
  int count_ = 0, width_ = 0, height_ = 0;
};

}  // namespace ui
