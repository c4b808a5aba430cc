#include "tests/uidriver/BoxIcon.h"

#include <cstddef>
#include <cstdint>

namespace uidriver {
namespace {

constexpr int kStrong = 160;
constexpr int kWeak = 100;
// A colour must cover this share of the picture (in percent) to count.
constexpr int kMinimumSharePercent = 10;

int Red(std::uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
int Green(std::uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
int Blue(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

bool IsYellow(std::uint32_t rgb) {
  return Red(rgb) >= kStrong && Green(rgb) >= kStrong && Blue(rgb) < kWeak;
}

bool IsRed(std::uint32_t rgb) {
  return Red(rgb) >= kStrong && Green(rgb) < kWeak && Blue(rgb) < kWeak;
}

}  // namespace

BoxIcon ClassifyIconPixels(const PixelImage& icon) {
  if (icon.Empty()) return BoxIcon::kNone;
  std::size_t yellow = 0;
  std::size_t red = 0;
  for (std::uint32_t rgb : icon.Pixels()) {
    if (IsYellow(rgb)) ++yellow;
    if (IsRed(rgb)) ++red;
  }
  const std::size_t minimum = icon.Pixels().size() * kMinimumSharePercent / 100;
  if (yellow >= minimum && yellow > red) return BoxIcon::kExclamation;
  if (red >= minimum && red > yellow) return BoxIcon::kStop;
  return BoxIcon::kUnknown;
}

const char* BoxIconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::kNone:
      return "none";
    case BoxIcon::kExclamation:
      return "exclamation";
    case BoxIcon::kStop:
      return "stop";
    case BoxIcon::kUnknown:
      break;
  }
  return "unknown";
}

std::ostream& operator<<(std::ostream& out, BoxIcon icon) { return out << BoxIconName(icon); }

}  // namespace uidriver
