#include "tests/uidriver/PngWriter.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#include "framework/UniqueResource.h"

namespace uidriver {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr unsigned char kBitDepth = 8;
constexpr unsigned char kColourTypeRgb = 2;
constexpr unsigned char kFilterNone = 0;
// zlib header: deflate with a 32 KiB window, no preset dictionary, and a check
// value that makes the 16-bit header a multiple of 31.
constexpr unsigned char kZlibHeader[] = {0x78, 0x01};
constexpr std::size_t kMaxStoredBlock = 0xFFFF;
constexpr unsigned char kStoredBlock = 0x00;
constexpr unsigned char kFinalStoredBlock = 0x01;
constexpr std::uint32_t kCrcPolynomial = 0xEDB88320u;
constexpr std::uint32_t kAdlerModulus = 65521u;

std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < table.size(); ++n) {
    std::uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? kCrcPolynomial ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

std::uint32_t Crc32(const unsigned char* data, std::size_t size) {
  static const std::array<std::uint32_t, 256> table = MakeCrcTable();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const Bytes& data) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (unsigned char byte : data) {
    a = (a + byte) % kAdlerModulus;
    b = (b + a) % kAdlerModulus;
  }
  return (b << 16) | a;
}

void AppendBigEndian32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<unsigned char>(value >> shift));
}

void AppendLittleEndian16(Bytes& out, std::size_t value) {
  out.push_back(static_cast<unsigned char>(value & 0xFF));
  out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void AppendChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
  AppendBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  Bytes typeAndData(type, type + 4);
  typeAndData.insert(typeAndData.end(), data.begin(), data.end());
  out.insert(out.end(), typeAndData.begin(), typeAndData.end());
  AppendBigEndian32(out, Crc32(typeAndData.data(), typeAndData.size()));
}

Bytes HeaderChunkData(const PixelImage& image) {
  Bytes data;
  AppendBigEndian32(data, static_cast<std::uint32_t>(image.Width()));
  AppendBigEndian32(data, static_cast<std::uint32_t>(image.Height()));
  data.push_back(kBitDepth);
  data.push_back(kColourTypeRgb);
  data.push_back(0);  // compression: deflate
  data.push_back(0);  // filter method: adaptive
  data.push_back(0);  // no interlace
  return data;
}

// Each row starts with its filter type, then red, green, blue per pixel.
Bytes RawRows(const PixelImage& image) {
  Bytes raw;
  raw.reserve(static_cast<std::size_t>(image.Height()) *
              (1 + 3 * static_cast<std::size_t>(image.Width())));
  for (int y = 0; y < image.Height(); ++y) {
    raw.push_back(kFilterNone);
    for (int x = 0; x < image.Width(); ++x) {
      std::uint32_t rgb = image.Pixel(x, y);
      raw.push_back(static_cast<unsigned char>((rgb >> 16) & 0xFF));
      raw.push_back(static_cast<unsigned char>((rgb >> 8) & 0xFF));
      raw.push_back(static_cast<unsigned char>(rgb & 0xFF));
    }
  }
  return raw;
}

Bytes StoredZlibStream(const Bytes& raw) {
  Bytes out(std::begin(kZlibHeader), std::end(kZlibHeader));
  std::size_t offset = 0;
  do {
    std::size_t length = std::min(kMaxStoredBlock, raw.size() - offset);
    bool last = offset + length == raw.size();
    out.push_back(last ? kFinalStoredBlock : kStoredBlock);
    AppendLittleEndian16(out, length);
    AppendLittleEndian16(out, ~length & 0xFFFF);
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
               raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
    offset += length;
  } while (offset < raw.size());
  AppendBigEndian32(out, Adler32(raw));
  return out;
}

}  // namespace

std::vector<unsigned char> EncodePng(const PixelImage& image) {
  Bytes png(std::begin(kSignature), std::end(kSignature));
  AppendChunk(png, "IHDR", HeaderChunkData(image));
  AppendChunk(png, "IDAT", StoredZlibStream(RawRows(image)));
  AppendChunk(png, "IEND", Bytes());
  return png;
}

bool SavePng(const PixelImage& image, const std::string& path) {
  if (image.Empty()) return false;
  Bytes png = EncodePng(image);
  UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
         written == png.size();
}

}  // namespace uidriver
