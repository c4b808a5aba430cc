#pragma once
// The main dialog: device status, the update button and the progress of an
// update. Its timer watches for the device; its update button runs the update.
#include "framework/AfxString.h"
#include "framework/Dialog.h"
#include "framework/File.h"
#include "framework/MessageMap.h"
#include "progress/GradientProgressCtrl.h"
#include "text/FixedText.h"
#include "update/SenderView.h"

constexpr int kStageCount = 4;

class CQuelvoDlg : public CDialog, public SenderView {
 public:
  explicit CQuelvoDlg(CWnd* parent = nullptr);
  ~CQuelvoDlg() override;

  // Looks a text up in lang.ini into the dialog's one text buffer, valid
  // until the next lookup on this thread.
  const char* LoadLangText(const char* section, const char* key);

  // What the image sender shows, called from its thread.
  void DisableUpdateButton() override;
  void ShowProgress(int position) override;
  void ShowResult(const char* text) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnSysCommand(UINT id, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnTimer(UINT_PTR id);
  void OnUpdateButton();
  void OnCancelClicked();

  void ResetProgress();
  void StartDriverInstaller();

  // The update run, in its order.
  bool IdentifyDevice();
  void PrepareStages();
  enum class StageEnd { kSkipped, kSent, kEndRun };
  StageEnd RunStage(int stage, CFile& file);
  StageEnd SendStageImage(int stage);
  void PumpUntilStageEnds(HANDLE sender);
  void ShowMessage(const char* key);

  static const MessageEntry<CQuelvoDlg> kMessageMap[];

  HICON m_hIcon;
  bool m_bDeviceReady = false;
  bool m_bProbeDone = false;
  bool m_bUpdating = false;
  bool m_bStageFile[kStageCount] = {};
  CGradientProgressCtrl m_ctrlProgress;
  CString m_strStagePath[kStageCount];
  FixedText m_szLangText;

  // While the "library missing" box is open, ticks that arrive in its modal
  // loop are let through without probing, so boxes never stack up.
  bool m_bLibraryBoxOpen = false;
  // An update run is under way: a click that the run's own message pump
  // dispatches must not start a second one.
  bool m_bRunActive = false;
  // An image is on its way to the device; closing the dialog now waits for
  // it (m_bCloseRequested) rather than leave the device with half an image.
  bool m_bSending = false;
  bool m_bCloseRequested = false;
};
