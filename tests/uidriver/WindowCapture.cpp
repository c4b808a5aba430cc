#include "tests/uidriver/WindowCapture.h"

#include <cstring>

#include "framework/UniqueResource.h"
#include "tests/uidriver/PngWriter.h"

namespace uidriver {
namespace {

constexpr WORD kBitsPerPixel = 32;

// The screen's device context, given back to the system when done.
class ScreenDc {
 public:
  ScreenDc() : m_dc(::GetDC(nullptr)) {}
  ~ScreenDc() {
    if (m_dc) ::ReleaseDC(nullptr, m_dc);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return m_dc; }

 private:
  HDC m_dc;
};

BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows run top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = kBitsPerPixel;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

PixelImage CaptureScreenRect(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return PixelImage();

  ScreenDc screen;
  if (!screen.get()) return PixelImage();
  UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  UniqueGdiObject bitmap(
      ::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap || !bits) return PixelImage();

  HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
  BOOL copied = ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top,
                         SRCCOPY | CAPTUREBLT);
  ::GdiFlush();
  ::SelectObject(memory.get(), previous);
  if (!copied) return PixelImage();

  // A 32-bit DIB holds each pixel as blue, green, red, unused: 0x00RRGGBB.
  PixelImage image(width, height);
  const auto* source = static_cast<const unsigned char*>(bits);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(std::uint32_t);
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = image.Row(y);
    std::memcpy(row, source + static_cast<std::size_t>(y) * rowBytes, rowBytes);
    for (int x = 0; x < width; ++x) row[x] &= 0x00FFFFFFu;
  }
  return image;
}

PixelImage CaptureWindow(HWND window) {
  RECT rect;
  if (!::GetWindowRect(window, &rect)) return PixelImage();
  return CaptureScreenRect(rect);
}

bool SaveWindowPng(HWND window, const std::string& path) {
  return SavePng(CaptureWindow(window), path);
}

}  // namespace uidriver
