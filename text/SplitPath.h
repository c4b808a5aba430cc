#pragma once
#include <cstddef>

constexpr size_t kDriveSize = 3;
constexpr size_t kFolderSize = 260;
constexpr size_t kFileNameSize = 256;
constexpr size_t kExtensionSize = 256;

// Splits a path into drive ("C:" or empty), folder (up to and including the
// last '\' or '/'), file name and extension (from the last '.', the dot
// included). A part longer than its buffer is cut to fit; nothing is ever
// written past a buffer.
void SplitPath(const char* path, char (&drive)[kDriveSize], char (&folder)[kFolderSize],
               char (&fileName)[kFileNameSize], char (&extension)[kExtensionSize]);
