#pragma once
// The image sender: writes the current update image (g_pImage, g_nImageSize)
// to the device through g_hPipeOut: the 20-byte start command, then the
// payload in chunks of at most 2048 bytes, moving the progress after each
// chunk that changes its position.
// It owns the image block and the pipe from its start and releases both.
// Ends by setting g_bStageDone when every byte went out, or g_bStageFailed
// when a transfer could not be completed in time. Returns 0.
#include <windows.h>

UINT __cdecl ImageSendThread(LPVOID view);
