#pragma once
// A picture in memory, one 0x00RRGGBB value per pixel, rows top to bottom.
#include <cstdint>
#include <vector>

namespace uidriver {

class PixelImage {
 public:
  PixelImage() = default;
  PixelImage(int width, int height);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool Empty() const { return m_width <= 0 || m_height <= 0; }

  std::uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, std::uint32_t rgb);
  std::uint32_t* Row(int y);

  const std::vector<std::uint32_t>& Pixels() const { return m_pixels; }

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<std::uint32_t> m_pixels;
};

}  // namespace uidriver
