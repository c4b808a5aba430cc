#pragma once
// An update file: a 1024-byte image header followed by the payload. Only two
// header bytes mean anything to the updater: the marker and the send flag.
// The first 20 bytes are the start command the device receives before the
// payload; the rest of the header never leaves the host.
#include "framework/File.h"
#include "framework/UniqueResource.h"
#include "text/FixedText.h"

constexpr DWORD kImageHeaderSize = 1024;
constexpr DWORD kStartCommandSize = 20;
// The header check reads this much: a file shorter than a header and four
// payload bytes is not an update file.
constexpr DWORD kHeaderCheckSize = 1028;
constexpr BYTE kImageMarker = '#';
constexpr DWORD kMarkerOffset = 0;
constexpr DWORD kSendFlagOffset = 1;

enum class HeaderCheck {
  Absent,      // nothing of that name: the stage is skipped without a message
  Unreadable,  // there, but it cannot be opened (held, a folder, no access)
  TooShort,    // fewer than kHeaderCheckSize bytes could be read
  NotMarked,   // byte 0 is not the marker
  Readable,    // marker present; the send flag decides what follows
};

// Reads the first kHeaderCheckSize bytes of `path` through `file` (opened
// read-only with no sharing, closed again) into `header`.
HeaderCheck CheckUpdateHeader(CFile& file, const char* path, BYTE (&header)[kHeaderCheckSize]);

bool SendFlagSet(const BYTE (&header)[kHeaderCheckSize]);

// The path of the update file `fileName` ("\firmware.qv9") in `folder`, the
// current folder ("" when it is too long to read), in 260 bytes: the full
// path; where that does not fit, through the folder's short form; failing
// that, the bare name, which the system finds in the current folder. A path
// is never cut, so it cannot name another file.
void FormUpdateFilePath(const char* folder, const char* fileName, FixedText& path);

// Reads the whole file into one heap block. False when the file cannot be
// opened, is 4 GiB or larger (its size would not fit the device's 32-bit
// count), cannot be allocated or reads short; nothing is then kept.
bool LoadUpdateImage(const char* path, UniqueHeapBlock& image, DWORD& size);
