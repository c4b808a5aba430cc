#pragma once
#include "text/FixedText.h"

// printf-style formatting into a 260-byte buffer. Returns the number of
// characters written, the terminating zero not counted. A result that does
// not fit is never cut short (a cut path could name another file): the buffer
// then holds the empty text and the result is -1.
int FormatFixed(FixedText& destination, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
