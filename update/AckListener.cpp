#include "update/AckListener.h"

#include "device/DeviceLibrary.h"
#include "device/PipeTransfer.h"
#include "update/ListenerCalls.h"
#include "update/SharedState.h"

namespace {
// A device that does not answer keeps the listener reading this many times
// (each read waits up to two budgets), far longer than the update run waits.
constexpr DWORD kListeningPasses = 3002;
constexpr DWORD kReplyPollBudget = 1000;
constexpr BYTE kDeviceIdentity = 'T';

volatile LONG g_bStopListening = 0;
}  // namespace

void ResetListenerStop() { ::InterlockedExchange(&g_bStopListening, 0); }

void RequestListenerStop() { ::InterlockedExchange(&g_bStopListening, 1); }

UINT __cdecl AckListenerThread(LPVOID) {
  // The library stays loaded while its pipe is open: the handle is declared
  // after it and so closed first.
  DeviceLibrary library;
  UniqueHandle pipe;
  if (library.Load(DeviceLibrary::kOpenFile)) pipe.reset(library.OpenFile(kPipeIn));
  const HANDLE reply = pipe ? pipe.get() : INVALID_HANDLE_VALUE;

  ListenerCalls calls(g_bStopListening);
  PipeTransfer transfer(calls);
  for (DWORD pass = 0; pass < kListeningPasses && !g_bStopListening; ++pass) {
    if (transfer.BoundedTransfer(reply, TransferDirection::kRead, g_ackReply, kAckReplySize,
                                 kReplyPollBudget) == TransferOutcome::kCompleted) {
      if (g_ackReply[0] == kDeviceIdentity) g_bDeviceAck = 1;
      break;
    }
  }
  return 1;
}
