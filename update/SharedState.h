#pragma once
// What the update run hands to its workers and back. There are no locks:
// each value has one writer at a time and is handed over by order (the run
// writes before it starts a worker and reads after the worker has ended).
#include <windows.h>

// The current update image (header and payload), owned by the image sender
// from its start until it frees the block.
extern BYTE* g_pImage;
extern DWORD g_nImageSize;
extern volatile DWORD g_nImageSent;
// The stage's "PIPE00" handle, owned and closed by the image sender.
extern HANDLE g_hPipeOut;
// Set by the image sender as its very last act: g_bStageDone when every
// byte of its image went out, g_bStageFailed when it had to give up.
extern volatile LONG g_bStageDone;
extern volatile LONG g_bStageFailed;

// Set by the identification listener when the device answered 'T'.
extern volatile LONG g_bDeviceAck;
constexpr DWORD kAckReplySize = 10;
extern BYTE g_ackReply[kAckReplySize];
