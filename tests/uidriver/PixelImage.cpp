#include "tests/uidriver/PixelImage.h"

#include <cstddef>

namespace uidriver {

PixelImage::PixelImage(int width, int height)
    : m_width(width > 0 ? width : 0),
      m_height(height > 0 ? height : 0),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height)) {}

std::uint32_t PixelImage::Pixel(int x, int y) const {
  return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                  static_cast<std::size_t>(x)];
}

void PixelImage::SetPixel(int x, int y, std::uint32_t rgb) {
  m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
           static_cast<std::size_t>(x)] = rgb;
}

std::uint32_t* PixelImage::Row(int y) {
  return m_pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
}

}  // namespace uidriver
