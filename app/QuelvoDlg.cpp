#include "app/QuelvoDlg.h"

#include <windows.h>
// windows.h must come first.
#include <shellapi.h>

#include "app/AboutDlg.h"
#include "app/resource.h"
#include "device/DeviceLibrary.h"
#include "device/PipeTransfer.h"
#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "framework/PaintDc.h"
#include "framework/WinApp.h"
#include "framework/WorkerThread.h"
#include "text/FormatFixed.h"
#include "text/LangKeys.h"
#include "text/LangText.h"
#include "update/AckListener.h"
#include "update/ImageSender.h"
#include "update/SharedState.h"
#include "update/UpdateFile.h"

namespace {
constexpr UINT_PTR kPresenceTimer = 1;
constexpr UINT kFirstProbeDelayMs = 100;
constexpr UINT kProbePeriodAttachedMs = 1000;
constexpr UINT kProbePeriodDetachedMs = 800;

// The progress bar's look, set at start-up and before each stage.
constexpr int kProgressLower = 0;
constexpr int kProgressUpper = 100;
constexpr COLORREF kProgressStart = RGB(0, 128, 128);
constexpr COLORREF kProgressEnd = RGB(0, 0, 128);
constexpr COLORREF kProgressText = RGB(0, 128, 0);

const char kLibraryUnloaded[] = "ZumelUSB.dll unloaded";
const char kDownloadFailed[] = "USB Download Fail !!! Try Again !";
const char kInstallerName[] = "\\Prossel.exe";
const char kNotOurDevice[] = "This is Not KALDER !";

// The update stages in the order they run. Each file name is appended to the
// current folder as it stands. The path slots follow the order in which the
// dialog keeps the paths.
struct Stage {
  const char* fileName;
  const char* statusKey;
  int pathSlot;
};
constexpr Stage kStages[kStageCount] = {
    {"\\firmware.qv9", lang::kStageFirmware, 0},
    {"\\KALDER_IMG.qv9", lang::kStageImage, 2},
    {"\\KALDER_PCM.qv9", lang::kStagePcm, 1},
    {"\\fdata.qvx", lang::kStageData, 3},
};

constexpr char kIdentificationRequest = '!';
constexpr DWORD kIdentificationPollBudget = 1000;
// The identification wait is a fixed amount of work on this thread, not a
// clock: 800 x 900 x 900 passes, during which the device must have replied.
constexpr DWORD kWaitOuterPasses = 800;
constexpr DWORD kWaitMiddlePasses = 900;
constexpr DWORD kWaitInnerPasses = 900;
// A told listener ends within milliseconds; this bound only keeps a broken
// one from hanging the dialog.
constexpr DWORD kListenerStopLimitMs = 10000;
constexpr DWORD kListenerExitCode = 1;

// The counter is volatile: without it an optimising compiler deletes the
// empty loop, the wait takes no time and every device looks silent.
void CountIdentificationWait() {
  for (volatile DWORD outer = 0; outer < kWaitOuterPasses; outer = outer + 1) {
    for (volatile DWORD middle = 0; middle < kWaitMiddlePasses; middle = middle + 1) {
      for (volatile DWORD inner = 0; inner < kWaitInnerPasses; inner = inner + 1) {
      }
    }
  }
}

void StopListener(HANDLE listener) {
  if (!listener) return;
  RequestListenerStop();
  if (::WaitForSingleObject(listener, kListenerStopLimitMs) != WAIT_OBJECT_0) {
    // Last resort only: a listener that ignores its stop is cut off.
    ::TerminateThread(listener, kListenerExitCode);
    ::WaitForSingleObject(listener, INFINITE);
  }
}
}  // namespace

// clang-format off
const MessageEntry<CQuelvoDlg> CQuelvoDlg::kMessageMap[] = {
    OnMessage<CQuelvoDlg>(WM_SYSCOMMAND, [](CQuelvoDlg& d, WPARAM w, LPARAM l) -> LRESULT {
      d.OnSysCommand(static_cast<UINT>(w), l); return 0; }),
    OnMessage<CQuelvoDlg>(WM_PAINT, [](CQuelvoDlg& d, WPARAM, LPARAM) -> LRESULT {
      d.OnPaint(); return 0; }),
    OnMessage<CQuelvoDlg>(WM_QUERYDRAGICON, [](CQuelvoDlg& d, WPARAM, LPARAM) -> LRESULT {
      return reinterpret_cast<LRESULT>(d.OnQueryDragIcon()); }),
    OnMessage<CQuelvoDlg>(WM_TIMER, [](CQuelvoDlg& d, WPARAM w, LPARAM) -> LRESULT {
      d.OnTimer(w); return 0; }),
    OnCommand<CQuelvoDlg>(IDC_UPDATE_BUTTON, BN_CLICKED, [](CQuelvoDlg& d, WPARAM, LPARAM) -> LRESULT {
      d.OnUpdateButton(); return 0; }),
    OnCommand<CQuelvoDlg>(IDCANCEL, BN_CLICKED, [](CQuelvoDlg& d, WPARAM, LPARAM) -> LRESULT {
      d.OnCancelClicked(); return 0; }),
};
// clang-format on

CQuelvoDlg::CQuelvoDlg(CWnd* parent)
    : CDialog(IDD_QUELVO_DIALOG, parent), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)) {
  m_szLangText[0] = '\0';
}

CQuelvoDlg::~CQuelvoDlg() = default;

const char* CQuelvoDlg::LoadLangText(const char* section, const char* key) {
  return LookUpLangText(section, key, m_szLangText);
}

void CQuelvoDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PROGRESS, m_ctrlProgress);
}

bool CQuelvoDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return DispatchMessageMap(kMessageMap, *this, message, wParam, lParam, result);
}

BOOL CQuelvoDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  if (HMENU systemMenu = GetSystemMenu(FALSE)) {
    CString aboutItem;
    aboutItem.LoadString(IDS_ABOUTBOX);
    if (!aboutItem.IsEmpty()) {
      ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
      ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutItem);
    }
  }

  m_bProbeDone = false;
  m_bUpdating = false;
  g_bDeviceAck = 0;

  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  SetWindowText(LoadLangText(lang::kSectionTitle, lang::kWindowTitle));
  SetDlgItemText(IDC_UPDATE_BUTTON, LoadLangText(lang::kSectionControl, lang::kUpdateCaption));
  SetDlgItemText(IDCANCEL, LoadLangText(lang::kSectionControl, lang::kCancelCaption));
  SetDlgItemText(IDC_DEVICE_STATUS, LoadLangText(lang::kSectionMessage, lang::kDeviceNotAttached));

  ResetProgress();
  SetTimer(kPresenceTimer, kFirstProbeDelayMs);
  return TRUE;
}

void CQuelvoDlg::ResetProgress() {
  m_ctrlProgress.SetRange(kProgressLower, kProgressUpper);
  m_ctrlProgress.SetPos(kProgressLower);
  m_ctrlProgress.SetShowPercent(TRUE);
  m_ctrlProgress.SetStartColor(kProgressStart);
  m_ctrlProgress.SetEndColor(kProgressEnd);
  m_ctrlProgress.SetTextColor(kProgressText);
}

void CQuelvoDlg::OnSysCommand(UINT id, LPARAM) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
  } else {
    Default();
  }
}

void CQuelvoDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  int iconWidth = ::GetSystemMetrics(SM_CXICON);
  int iconHeight = ::GetSystemMetrics(SM_CYICON);
  RECT client;
  GetClientRect(&client);
  int x = (client.right - client.left - iconWidth + 1) / 2;
  int y = (client.bottom - client.top - iconHeight + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CQuelvoDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CQuelvoDlg::OnCancelClicked() {
  // Never leave the device with half an image: the run ends the dialog once
  // the image in flight has gone out or its stage has failed.
  if (m_bSending) {
    m_bCloseRequested = true;
    return;
  }
  OnCancel();
}

void CQuelvoDlg::OnTimer(UINT_PTR id) {
  if (id != kPresenceTimer || m_bLibraryBoxOpen) {
    Default();
    return;
  }

  DeviceLibrary library;
  if (!library.Load(DeviceLibrary::kOpenDev)) {
    m_bLibraryBoxOpen = true;
    AfxMessageBox(kLibraryUnloaded);
    m_bLibraryBoxOpen = false;
    return;
  }
  HANDLE device = library.OpenDev();
  library.Free();

  UINT nextPeriod;
  if (device != INVALID_HANDLE_VALUE) {
    // The probe only tests that the device can be opened.
    ::CloseHandle(device);
    m_bDeviceReady = true;
    m_bProbeDone = true;
    SetDlgItemText(IDC_DEVICE_STATUS, LoadLangText(lang::kSectionMessage, lang::kDeviceAttached));
    nextPeriod = kProbePeriodAttachedMs;
  } else {
    m_bDeviceReady = false;
    SetDlgItemText(IDC_DEVICE_STATUS,
                   LoadLangText(lang::kSectionMessage, lang::kDeviceNotAttached));
    if (m_bUpdating) {
      // Cleared first, so ticks that arrive while the box is open do not
      // show it again.
      m_bUpdating = false;
      AfxMessageBox(kDownloadFailed, MB_ICONSTOP);
      ::ExitProcess(0);
    }
    if (!m_bProbeDone) {
      m_bProbeDone = true;
      StartDriverInstaller();
    }
    nextPeriod = kProbePeriodDetachedMs;
  }
  SetTimer(kPresenceTimer, nextPeriod);
  UpdateData(FALSE);
  Default();
}

void CQuelvoDlg::StartDriverInstaller() {
  FixedText folder;
  DWORD length = ::GetCurrentDirectoryA(kFixedTextSize, folder);
  if (length == 0 || length >= kFixedTextSize) return;
  FixedText installer;
  // A path that does not fit is not cut short: it could name another program.
  if (FormatFixed(installer, "%s%s", folder, kInstallerName) < 0) return;
  // A missing installer goes unnoticed: the shell is told to show no error
  // box of its own, which would stop the watch until answered.
  SHELLEXECUTEINFOA launch = {};
  launch.cbSize = sizeof(launch);
  launch.fMask = SEE_MASK_FLAG_NO_UI;
  launch.lpVerb = "open";
  launch.lpFile = installer;
  launch.nShow = SW_SHOW;
  ::ShellExecuteExA(&launch);
}

void CQuelvoDlg::DisableUpdateButton() { EnableDlgItem(IDC_UPDATE_BUTTON, FALSE); }

void CQuelvoDlg::ShowProgress(int position) { m_ctrlProgress.SetPosNoWait(position); }

void CQuelvoDlg::ShowResult(const char* text) { SetDlgItemText(IDC_RESULT_TEXT, text); }

void CQuelvoDlg::ShowMessage(const char* key) {
  AfxMessageBox(LoadLangText(lang::kSectionMessage, key));
}

void CQuelvoDlg::OnUpdateButton() {
  if (m_bRunActive) return;
  m_bRunActive = true;
  if (IdentifyDevice()) {
    PrepareStages();
    CFile file;
    bool endedEarly = false;
    for (int stage = 0; stage < kStageCount && !endedEarly; ++stage) {
      // Cleared before every stage, the first too: a flag left set by the
      // last image of a former run would end this stage's wait before its
      // sender has begun, and two senders would share one image.
      g_bStageDone = 0;
      endedEarly = RunStage(stage, file) == StageEnd::kEndRun;
    }
    // A run that went through every stage is over, whether its last file was
    // sent or skipped: losing the device afterwards is no failed update.
    if (!endedEarly) m_bUpdating = false;
  }
  m_bRunActive = false;
}

bool CQuelvoDlg::IdentifyDevice() {
  if (!m_bDeviceReady) {
    ShowMessage(lang::kDeviceNotReady);
    return false;
  }
  bool loaded = false;
  UniqueHandle pipe(OpenPipeOnce(kPipeOut, loaded));
  if (!loaded) {
    ShowMessage(lang::kLibraryMissing);
    return false;
  }
  if (!pipe) {
    ShowMessage(lang::kDeviceNotReady);
    return false;
  }

  // Each run identifies the device anew: a reply from an earlier run says
  // nothing of the device attached now.
  g_bDeviceAck = 0;
  {
    // The request's outcome is not examined; the reply tells.
    char request = kIdentificationRequest;
    PipeTransfer transfer;
    transfer.BoundedTransfer(pipe.get(), TransferDirection::kWrite, &request, sizeof request,
                             kIdentificationPollBudget);
  }
  pipe.reset();

  ResetListenerStop();
  UniqueHandle listener = AfxBeginThread(AckListenerThread, this);
  CountIdentificationWait();
  // The flag is read only once the listener has ended.
  StopListener(listener.get());
  if (!g_bDeviceAck) {
    AfxMessageBox(kNotOurDevice, MB_ICONSTOP);
    ::ExitProcess(0);
  }
  return true;
}

void CQuelvoDlg::PrepareStages() {
  FixedText folder;
  DWORD length = ::GetCurrentDirectoryA(kFixedTextSize, folder);
  if (length == 0 || length >= kFixedTextSize) folder[0] = '\0';
  for (const Stage& stage : kStages) {
    FixedText path;
    FormUpdateFilePath(folder, stage.fileName, path);
    m_strStagePath[stage.pathSlot] = path;
  }
  ResetProgress();
  SetDlgItemText(IDC_STAGE_TEXT, "");
  SetDlgItemText(IDC_RESULT_TEXT, "");
  UpdateData(FALSE);
  m_bUpdating = true;
}

CQuelvoDlg::StageEnd CQuelvoDlg::RunStage(int stage, CFile& file) {
  const Stage& table = kStages[stage];
  BYTE header[kHeaderCheckSize];
  m_bStageFile[stage] = true;
  const HeaderCheck check = CheckUpdateHeader(file, m_strStagePath[table.pathSlot], header);
  if (check == HeaderCheck::Absent) m_bStageFile[stage] = false;
  if (!m_bStageFile[stage]) return StageEnd::kSkipped;
  if (check == HeaderCheck::TooShort || check == HeaderCheck::Unreadable) {
    ShowMessage(lang::kUnreadableFile);
    return StageEnd::kEndRun;
  }
  if (check == HeaderCheck::NotMarked) {
    ShowMessage(lang::kNotUpdateFile);
    return StageEnd::kEndRun;
  }
  if (stage > 0) {
    ResetProgress();
    SetDlgItemText(IDC_STAGE_TEXT, "");
    SetDlgItemText(IDC_RESULT_TEXT, "");
  }
  SetDlgItemText(IDC_STAGE_TEXT, LoadLangText(lang::kSectionMessage, table.statusKey));
  if (!SendFlagSet(header)) return StageEnd::kSkipped;
  return SendStageImage(stage);
}

CQuelvoDlg::StageEnd CQuelvoDlg::SendStageImage(int stage) {
  if (!m_bDeviceReady) {
    ShowMessage(lang::kDeviceNotReady);
    return StageEnd::kEndRun;
  }
  bool loaded = false;
  UniqueHandle pipe(OpenPipeOnce(kPipeOut, loaded));
  if (!loaded) {
    ShowMessage(lang::kLibraryMissing);
    return StageEnd::kEndRun;
  }
  // A pipe that did not open would leave the sender retrying for nothing.
  if (!pipe) {
    ShowMessage(lang::kDeviceNotReady);
    return StageEnd::kEndRun;
  }
  UniqueHeapBlock image;
  DWORD size = 0;
  // Said, not left silent: the stage line would go on showing the file as
  // being sent.
  if (!LoadUpdateImage(m_strStagePath[kStages[stage].pathSlot], image, size)) {
    ShowMessage(lang::kUnreadableFile);
    return StageEnd::kEndRun;
  }

  g_pImage = static_cast<BYTE*>(image.get());
  g_nImageSize = size;
  g_nImageSent = 0;
  g_hPipeOut = pipe.get();
  g_bStageFailed = 0;
  SetTimer(kPresenceTimer, kProbePeriodAttachedMs);
  UniqueHandle sender = AfxBeginThread(ImageSendThread, static_cast<SenderView*>(this));
  if (!sender) {
    g_pImage = nullptr;
    g_hPipeOut = INVALID_HANDLE_VALUE;
    return StageEnd::kEndRun;
  }
  // The sender owns the image and the pipe from here on and frees both.
  image.release();
  pipe.release();

  m_bSending = true;
  PumpUntilStageEnds(sender.get());
  m_bSending = false;

  if (g_bStageFailed) AfxMessageBox(kDownloadFailed, MB_ICONSTOP);
  if (m_bCloseRequested) EndDialog(IDCANCEL);
  return (g_bStageFailed || m_bCloseRequested) ? StageEnd::kEndRun : StageEnd::kSent;
}

void CQuelvoDlg::PumpUntilStageEnds(HANDLE sender) {
  // The sender's calls on the dialog's controls complete only while this
  // thread dispatches messages; so do painting and the presence watch.
  // With nothing to dispatch it sleeps until a message arrives or the sender
  // ends, instead of spinning a core the sender and the device need.
  for (;;) {
    if (::WaitForSingleObject(sender, 0) == WAIT_OBJECT_0) return;
    MSG msg;
    if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    } else {
      ::MsgWaitForMultipleObjectsEx(1, &sender, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    if (g_bStageDone) return;
  }
}
