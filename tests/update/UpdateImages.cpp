#include "tests/update/UpdateImages.h"

#include <windows.h>

#include <cstring>

#include "tests/support/TestFiles.h"

namespace {
constexpr unsigned char kNeverSent = 0xEE;
constexpr size_t kTextSize = 260;
}  // namespace

Bytes MakeImage(size_t payloadSize, unsigned seed, unsigned char sendFlag) {
  Bytes image(kHeaderSize + payloadSize, kNeverSent);
  unsigned state = seed * 2654435761u + 1;
  auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return static_cast<unsigned char>(state >> 16);
  };
  image[0] = '#';
  image[1] = sendFlag;
  for (size_t i = 2; i < kStartCommandSize; ++i) image[i] = next();
  for (size_t i = kHeaderSize; i < image.size(); ++i) image[i] = next();
  return image;
}

Bytes OnTheWire(const Bytes& image) {
  const size_t payload = image.size() - kHeaderSize;
  Bytes wire(kStartCommandSize + payload);
  std::memcpy(wire.data(), image.data(), kStartCommandSize);
  if (payload) std::memcpy(wire.data() + kStartCommandSize, image.data() + kHeaderSize, payload);
  return wire;
}

std::vector<size_t> WireWriteSizes(const Bytes& image) {
  std::vector<size_t> sizes{kStartCommandSize};
  for (size_t left = image.size() - kHeaderSize; left > 0;) {
    size_t chunk = left < kChunkSize ? left : kChunkSize;
    sizes.push_back(chunk);
    left -= chunk;
  }
  return sizes;
}

Bytes Truncated(Bytes image, size_t size) {
  image.resize(size);
  return image;
}

Bytes Marked(Bytes image, unsigned char marker) {
  image[0] = marker;
  return image;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  size_t total = 0;
  for (const Bytes& part : parts) total += part.size();
  Bytes all(total);
  size_t at = 0;
  for (const Bytes& part : parts) {
    if (!part.empty()) std::memcpy(all.data() + at, part.data(), part.size());
    at += part.size();
  }
  return all;
}

std::string SampleText(const char* key) {
  char text[kTextSize] = "";
  ::GetPrivateProfileStringA("message", key, "", text, kTextSize, BinPath("lang.ini").c_str());
  return text;
}
