#pragma once
// The identification reply listener: reads the device's 10-byte reply on
// "PIPE01" and sets g_bDeviceAck when it begins with 'T'. Started by the
// update run right after the identification request; returns 1.
#include <windows.h>

UINT __cdecl AckListenerThread(LPVOID dialog);

// Before the listener starts: clears a stop request left from a former run.
void ResetListenerStop();
// Asks a running listener to end at once; it releases its pipe and library.
void RequestListenerStop();
