#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/TestFiles.h"
#include "tests/uidriver/PngWriter.h"

namespace {

using uidriver::PixelImage;
using Bytes = std::vector<unsigned char>;

std::uint32_t BigEndian32(const Bytes& bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
         (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

// Bit by bit, independent of the table the writer uses.
std::uint32_t SlowCrc32(const unsigned char* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

struct Chunk {
  std::string type;
  Bytes data;
};

// Splits a PNG into chunks, checking each chunk's CRC on the way.
std::vector<Chunk> ReadChunks(const Bytes& png) {
  std::vector<Chunk> chunks;
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    std::uint32_t length = BigEndian32(png, at);
    Chunk chunk{std::string(png.begin() + at + 4, png.begin() + at + 8),
                Bytes(png.begin() + at + 8, png.begin() + at + 8 + length)};
    EXPECT_EQ(BigEndian32(png, at + 8 + length), SlowCrc32(&png[at + 4], length + 4)) << chunk.type;
    chunks.push_back(chunk);
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  return chunks;
}

// Undoes stored deflate blocks and checks the Adler-32 at the end.
Bytes InflateStored(const Bytes& zlib) {
  Bytes raw;
  std::size_t at = 2;
  bool last = false;
  while (!last) {
    last = (zlib.at(at) & 1) != 0;
    EXPECT_EQ(zlib[at] >> 1, 0) << "not a stored block";
    std::size_t length = zlib[at + 1] | (std::size_t{zlib[at + 2]} << 8);
    std::size_t inverse = zlib[at + 3] | (std::size_t{zlib[at + 4]} << 8);
    EXPECT_EQ(length ^ 0xFFFF, inverse);
    raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + length);
    at += 5 + length;
  }
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  EXPECT_EQ(BigEndian32(zlib, at), (b << 16) | a);
  EXPECT_EQ(at + 4, zlib.size());
  return raw;
}

PixelImage Gradient(int width, int height) {
  PixelImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.SetPixel(x, y,
                     static_cast<std::uint32_t>((x * 7) << 16 | (y * 3) << 8 | (x ^ y)) & 0xFFFFFF);
    }
  }
  return image;
}

// Rows large enough to need several stored blocks (at most 65535 bytes each).
TEST(PngWriter, RoundTripsPixelsAcrossSeveralStoredBlocks) {
  const PixelImage image = Gradient(301, 157);
  const Bytes png = uidriver::EncodePng(image);
  ASSERT_EQ(Bytes(png.begin(), png.begin() + 8),
            (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));

  std::vector<Chunk> chunks = ReadChunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");
  EXPECT_EQ(BigEndian32(chunks[0].data, 0), 301u);
  EXPECT_EQ(BigEndian32(chunks[0].data, 4), 157u);
  EXPECT_EQ(Bytes(chunks[0].data.begin() + 8, chunks[0].data.end()), (Bytes{8, 2, 0, 0, 0}));

  Bytes raw = InflateStored(chunks[1].data);
  const std::size_t stride = 1 + 3 * 301;
  ASSERT_EQ(raw.size(), stride * 157);
  ASSERT_GT(raw.size(), 2u * 0xFFFF);
  for (int y = 0; y < image.Height(); ++y) {
    ASSERT_EQ(raw[y * stride], 0) << "filter of row " << y;
    for (int x = 0; x < image.Width(); ++x) {
      const unsigned char* p = &raw[y * stride + 1 + 3 * x];
      ASSERT_EQ((std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2], image.Pixel(x, y))
          << x << "," << y;
    }
  }
}

TEST(PngWriter, SavesTheEncodedBytesAndRefusesAnEmptyImage) {
  TempFolder folder;
  const PixelImage image = Gradient(3, 2);
  ASSERT_TRUE(uidriver::SavePng(image, folder / "a.png"));
  EXPECT_EQ(ReadBytes(folder / "a.png"), uidriver::EncodePng(image));
  EXPECT_FALSE(uidriver::SavePng(PixelImage(), folder / "empty.png"));
}

}  // namespace
