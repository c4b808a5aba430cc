#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "framework/UniqueResource.h"
#include "tests/uidriver/BoxIcon.h"

namespace {

using uidriver::BoxIcon;
using uidriver::PixelImage;

constexpr int kIconSize = 32;
constexpr std::uint32_t kDialogGrey = 0xC0C0C0;

// The system icon as this process draws it on a dialog-grey background: the
// same pictures a message box of another process shows.
PixelImage DrawSystemIcon(LPCSTR which) {
  HICON icon = ::LoadIconA(nullptr, which);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kIconSize;
  info.bmiHeader.biHeight = -kIconSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  UniqueGdiObject bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!icon || !dc || !bitmap) return PixelImage();
  HGDIOBJ previous = ::SelectObject(dc.get(), bitmap.get());
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int i = 0; i < kIconSize * kIconSize; ++i) pixels[i] = kDialogGrey;
  ::DrawIconEx(dc.get(), 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
  ::GdiFlush();
  ::SelectObject(dc.get(), previous);
  PixelImage image(kIconSize, kIconSize);
  for (int y = 0; y < kIconSize; ++y) {
    std::memcpy(image.Row(y), pixels + y * kIconSize, kIconSize * sizeof(std::uint32_t));
    for (int x = 0; x < kIconSize; ++x) image.Row(y)[x] &= 0xFFFFFF;
  }
  return image;
}

PixelImage Filled(std::uint32_t rgb) {
  PixelImage image(kIconSize, kIconSize);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) image.SetPixel(x, y, rgb);
  }
  return image;
}

TEST(BoxIcon, TellsTheSystemIconsApart) {
  struct Case {
    LPCSTR icon;
    BoxIcon expected;
  };
  const Case cases[] = {
      {IDI_EXCLAMATION, BoxIcon::kExclamation},
      {IDI_WARNING, BoxIcon::kExclamation},
      {IDI_HAND, BoxIcon::kStop},
      {IDI_ERROR, BoxIcon::kStop},
      {IDI_INFORMATION, BoxIcon::kUnknown},
      {IDI_QUESTION, BoxIcon::kUnknown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(reinterpret_cast<ULONG_PTR>(c.icon));
    PixelImage image = DrawSystemIcon(c.icon);
    ASSERT_FALSE(image.Empty());
    EXPECT_EQ(uidriver::ClassifyIconPixels(image), c.expected);
  }
}

TEST(BoxIcon, PlainAreasAreNoKnownIcon) {
  EXPECT_EQ(uidriver::ClassifyIconPixels(PixelImage()), BoxIcon::kNone);
  EXPECT_EQ(uidriver::ClassifyIconPixels(Filled(kDialogGrey)), BoxIcon::kUnknown);
  EXPECT_EQ(uidriver::ClassifyIconPixels(Filled(0xFFFFFF)), BoxIcon::kUnknown);
}

}  // namespace
