#pragma once
// Update files for tests, and what the device must receive for them.
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

constexpr size_t kHeaderSize = 1024;
constexpr size_t kStartCommandSize = 20;
constexpr size_t kChunkSize = 2048;

// A valid image: marker '#', the send flag, start-command bytes and payload
// from `seed`, header bytes 20..1023 set to a value that must never travel.
Bytes MakeImage(size_t payloadSize, unsigned seed, unsigned char sendFlag = 1);

// The start command, then the payload: what the device gets for `image`.
Bytes OnTheWire(const Bytes& image);
// The write sizes the device sees for `image`: 20, then 2048-byte chunks.
std::vector<size_t> WireWriteSizes(const Bytes& image);

// The image cut to `size` bytes; the image with another first byte.
Bytes Truncated(Bytes image, size_t size);
Bytes Marked(Bytes image, unsigned char marker);

Bytes Concat(std::initializer_list<Bytes> parts);

// A text of the sample lang.ini, section "message".
std::string SampleText(const char* key);
