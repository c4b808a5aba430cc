#include "framework/Dc.h"

CDC::~CDC() = default;

void CDC::FillRect(const RECT* rect, HBRUSH brush) { ::FillRect(m_hDC, rect, brush); }

COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }

COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }

int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

int CDC::DrawText(const char* text, int length, RECT* rect, UINT format) {
  return ::DrawTextA(m_hDC, text, length, rect, format);
}

int CDC::GetClipBox(RECT* rect) const { return ::GetClipBox(m_hDC, rect); }

HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }

POINT CDC::SetWindowOrg(int x, int y) {
  POINT old{};
  ::SetWindowOrgEx(m_hDC, x, y, &old);
  return old;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, const CDC* source, int xSource, int ySource,
                 DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource, ySource,
                  rop);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
