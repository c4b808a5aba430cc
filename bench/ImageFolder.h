#pragma once
// A folder of update files for the program's current folder: each a valid
// image header (marker, send flag set, start command) and a payload of
// pseudo-random bytes, written once and used by every run of one kind.
#include <windows.h>

#include <string>

#include "tests/support/TempFolder.h"

class ImageFolder {
 public:
  // False when the file could not be written whole.
  bool AddImage(const std::string& name, DWORD payloadBytes, unsigned seed);

  const std::string& Path() const { return m_folder.path(); }
  // What the device receives for all files: start commands and payloads.
  unsigned long long WireBytes() const { return m_wireBytes; }
  unsigned long long PayloadBytes() const { return m_payloadBytes; }

 private:
  TempFolder m_folder;
  unsigned long long m_wireBytes = 0;
  unsigned long long m_payloadBytes = 0;
};
