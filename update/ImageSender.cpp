#include "update/ImageSender.h"

#include <cstring>

#include "device/PipeTransfer.h"
#include "text/LangKeys.h"
#include "text/LangText.h"
#include "update/DeadlineCalls.h"
#include "update/SenderView.h"
#include "update/SharedState.h"
#include "update/UpdateFile.h"

namespace {
constexpr DWORD kChunkSize = 2048;
constexpr DWORD kStartCommandPollBudget = 1000;
constexpr DWORD kChunkPollBudget = 2000;
// One progress unit is a hundredth of the payload.
constexpr DWORD kProgressUnits = 100;
// Before the first chunk: any position the sender computes differs from it.
constexpr int kNoPositionShown = -1;
// A transfer that has not gone out after this long is given up: the device
// is stuck, and the stage fails instead of waiting for good. The limit holds
// inside an attempt too, not only between attempts.
constexpr DWORD kRetryLimitMs = 10000;
// Between attempts that failed at once (a broken pipe), so the retries do not
// spin a core.
constexpr DWORD kRetryPauseMs = 10;

// Writes `length` bytes whole: a transfer that does not complete, and the
// rest of a short write, are written again until they went out or the
// retries have run out. Every byte reaches the device once, in order.
bool WriteWhole(PipeTransfer& transfer, DeadlineCalls& calls, HANDLE pipe, const BYTE* data,
                DWORD length, DWORD pollBudget) {
  calls.StartDeadline(kRetryLimitMs);
  DWORD written = 0;
  while (written < length) {
    if (transfer.BoundedTransfer(pipe, TransferDirection::kWrite, const_cast<BYTE*>(data + written),
                                 length - written, pollBudget) == TransferOutcome::kCompleted) {
      DWORD count = transfer.BytesTransferred();
      written += (count <= length - written) ? count : length - written;
      continue;
    }
    if (!transfer.Usable() || calls.Passed()) return false;
    ::Sleep(kRetryPauseMs);
  }
  return true;
}

enum class SendEnd {
  kSent,
  kFailed,
  // A cancelled write never ended: the system may still read the image.
  kFailedImageInUse,
};

SendEnd SendImage(SenderView& view, HANDLE pipe, const BYTE* startCommand, DWORD step) {
  DeadlineCalls calls;
  PipeTransfer transfer(calls);
  if (!WriteWhole(transfer, calls, pipe, startCommand, kStartCommandSize,
                  kStartCommandPollBudget)) {
    return transfer.Usable() ? SendEnd::kFailed : SendEnd::kFailedImageInUse;
  }
  // The bar is told only when its position changes: it shows the same
  // positions, and the sender no longer waits on the dialog after every chunk.
  int shown = kNoPositionShown;
  while (g_nImageSent < g_nImageSize) {
    const DWORD left = g_nImageSize - g_nImageSent;
    const DWORD chunk = left <= kChunkSize ? left : kChunkSize;
    if (!WriteWhole(transfer, calls, pipe, g_pImage + g_nImageSent, chunk, kChunkPollBudget)) {
      return transfer.Usable() ? SendEnd::kFailed : SendEnd::kFailedImageInUse;
    }
    g_nImageSent += chunk;
    const int position = static_cast<int>(g_nImageSent / step);
    if (position != shown) {
      view.ShowProgress(position);
      shown = position;
    }
  }
  return SendEnd::kSent;
}
}  // namespace

UINT __cdecl ImageSendThread(LPVOID param) {
  SenderView& view = *static_cast<SenderView*>(param);
  g_bStageDone = 0;
  view.DisableUpdateButton();

  DWORD step = (g_nImageSize - kImageHeaderSize) / kProgressUnits;
  if (step == 0) step = 1;
  BYTE startCommand[kStartCommandSize];
  std::memcpy(startCommand, g_pImage, kStartCommandSize);
  // From here on the globals describe the payload only.
  g_pImage += kImageHeaderSize;
  g_nImageSize -= kImageHeaderSize;

  const SendEnd end = SendImage(view, g_hPipeOut, startCommand, step);
  const bool sent = end == SendEnd::kSent;
  if (sent) {
    // Its own buffer: the dialog's thread looks texts up meanwhile.
    FixedText text;
    view.ShowResult(LookUpLangText(lang::kSectionMessage, lang::kImageSent, text));
  }

  g_pImage -= kImageHeaderSize;
  // A block the system may still read is left to it on purpose.
  if (end != SendEnd::kFailedImageInUse) ::HeapFree(::GetProcessHeap(), 0, g_pImage);
  g_pImage = nullptr;
  ::CloseHandle(g_hPipeOut);
  g_hPipeOut = INVALID_HANDLE_VALUE;

  if (sent) {
    g_bStageDone = 1;
  } else {
    g_bStageFailed = 1;
  }
  return 0;
}
