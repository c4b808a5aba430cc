#pragma once
// Which standard icon a message box shows. Icon handles of another process
// mean nothing here, so the icon is told by its colours: the exclamation icon
// is mostly yellow, the stop icon mostly red.
#include <ostream>

#include "tests/uidriver/PixelImage.h"

namespace uidriver {

enum class BoxIcon { kNone, kExclamation, kStop, kUnknown };

BoxIcon ClassifyIconPixels(const PixelImage& icon);
const char* BoxIconName(BoxIcon icon);
// So that test failures name the icon.
std::ostream& operator<<(std::ostream& out, BoxIcon icon);

}  // namespace uidriver
