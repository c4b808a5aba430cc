#pragma once
// The progress bar of the main dialog, painted entirely here: a left-to-right
// run of solid colour bands from a start colour towards an end colour, a flat
// background right of the position, and an optional percentage text.
// It keeps its own range and position; the platform control's copy (cut to
// 16 bits) only drives the repaints.
#include "framework/AfxString.h"
#include "framework/MessageMap.h"
#include "framework/ProgressCtrl.h"

class CDC;

class CGradientProgressCtrl : public CProgressCtrl {
 public:
  CGradientProgressCtrl();
  ~CGradientProgressCtrl() override;

  // Also moves the position to the lower bound.
  void SetRange(int lower, int upper);
  // Keeps the position as given, also out of range; returns the platform
  // control's previous position.
  int SetPos(int pos);
  // The same from a worker thread, without waiting for the control's thread:
  // the position is kept at once, and the platform control takes it over when
  // its thread next pumps, in order with whatever else was sent to it.
  void SetPosNoWait(int pos);

  // These take effect at the next paint; they do not repaint.
  void SetStartColor(COLORREF color) { m_clrStart = color; }
  void SetEndColor(COLORREF color) { m_clrEnd = color; }
  void SetTextColor(COLORREF color) { m_clrText = color; }
  void SetShowPercent(BOOL show) { m_bShowPercent = show; }

  // Paints the whole control onto `dc`, which covers the client area; the
  // paint cycle hands it the control's paint DC.
  void Paint(CDC& dc);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  BOOL OnEraseBkgnd();
  void DrawGradient(CDC* target, const RECT& client, int& filledWidth);

  static const MessageEntry<CGradientProgressCtrl> kMessageMap[];

  CString m_strLabel;
  int m_nLower = 0;
  int m_nUpper = 100;
  // Written by the image sender's thread, read when painting; one aligned
  // 32-bit store.
  volatile int m_nPos = 0;
  COLORREF m_clrStart = RGB(0, 0, 128);
  COLORREF m_clrEnd = RGB(0, 0, 255);
  COLORREF m_clrBackground;
  COLORREF m_clrText = RGB(255, 255, 255);
  BOOL m_bShowPercent = FALSE;
};
