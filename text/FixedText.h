#pragma once
// Texts and paths live in fixed 260-byte buffers throughout the program.
#include <cstddef>

constexpr size_t kFixedTextSize = 260;
using FixedText = char[kFixedTextSize];
