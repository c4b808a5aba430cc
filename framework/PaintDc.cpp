#include "framework/PaintDc.h"

#include "framework/Wnd.h"

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd) {
  m_hDC = m_hAttribDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
