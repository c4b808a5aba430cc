#pragma once
// PNG files without a compression library: 8-bit RGB rows in stored
// (uncompressed) deflate blocks. Larger than needed, but any viewer reads them.
#include <string>
#include <vector>

#include "tests/uidriver/PixelImage.h"

namespace uidriver {

std::vector<unsigned char> EncodePng(const PixelImage& image);
bool SavePng(const PixelImage& image, const std::string& path);

}  // namespace uidriver
