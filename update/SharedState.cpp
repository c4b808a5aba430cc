#include "update/SharedState.h"

BYTE* g_pImage = nullptr;
DWORD g_nImageSize = 0;
volatile DWORD g_nImageSent = 0;
HANDLE g_hPipeOut = INVALID_HANDLE_VALUE;
volatile LONG g_bStageDone = 0;
volatile LONG g_bStageFailed = 0;
volatile LONG g_bDeviceAck = 0;
BYTE g_ackReply[kAckReplySize] = {};
