#include "app/QuelvoDlg.h"

#include <windows.h>
// windows.h must come first.
#include <shellapi.h>

#include "app/AboutDlg.h"
#include "app/resource.h"
#include "device/DeviceLibrary.h"
#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "framework/PaintDc.h"
#include "framework/WinApp.h"
#include "text/FormatFixed.h"
#include "text/LangKeys.h"
#include "text/LangText.h"
#include "update/SharedState.h"

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

void CQuelvoDlg::OnCancelClicked() { OnCancel(); }

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
  ::ShellExecuteA(nullptr, "open", installer, nullptr, nullptr, SW_SHOW);
}

void CQuelvoDlg::OnUpdateButton() {}
