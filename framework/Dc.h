#pragma once
// A device context: the handle drawing goes to, and the drawing calls the
// program makes. It owns nothing; CPaintDC and CMemDC decide what is freed.
#include <windows.h>

class CDC {
 public:
  CDC() = default;
  virtual ~CDC();

  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  BOOL IsPrinting() const { return m_bPrinting; }

  void FillRect(const RECT* rect, HBRUSH brush);
  COLORREF SetTextColor(COLORREF color);
  COLORREF SetBkColor(COLORREF color);
  int SetBkMode(int mode);
  int DrawText(const char* text, int length, RECT* rect, UINT format);
  int GetClipBox(RECT* rect) const;
  HGDIOBJ SelectObject(HGDIOBJ object);
  POINT SetWindowOrg(int x, int y);
  BOOL BitBlt(int x, int y, int width, int height, const CDC* source, int xSource, int ySource,
              DWORD rop);
  BOOL DrawIcon(int x, int y, HICON icon);

  // The output handle (where drawing goes) and the attribute handle (what is
  // asked of the device); the same on screen.
  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;
  BOOL m_bPrinting = FALSE;
};
