#pragma once
// What a process holds, read from outside: its handle count, its private
// bytes and its threads. Used to show that the program gives back what a
// probe or an image takes.
#include <windows.h>

#include <cstddef>

struct ProcessGauge {
  DWORD handles = 0;
  SIZE_T privateBytes = 0;
  DWORD threads = 0;
};

// The current figures of `process`; zeros for what cannot be read.
ProcessGauge ReadProcessGauge(HANDLE process);
DWORD ThreadCountOf(DWORD processId);
