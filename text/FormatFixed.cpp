#include "text/FormatFixed.h"

#include <cstdarg>
#include <cstdio>

int FormatFixed(FixedText& destination, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(destination, kFixedTextSize, format, args);
  va_end(args);
  if (length < 0 || static_cast<size_t>(length) >= kFixedTextSize) {
    destination[0] = '\0';
    return -1;
  }
  return length;
}
