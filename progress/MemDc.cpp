#include "progress/MemDc.h"

CMemDC::CMemDC(CDC* target) : m_pDC(target), m_bMemDC(!target->IsPrinting()) {
  if (m_bMemDC) {
    target->GetClipBox(&m_rect);
    m_memoryDc.reset(::CreateCompatibleDC(target->GetSafeHdc()));
    m_hDC = m_hAttribDC = m_memoryDc.get();
    // Not cleared: whoever draws here covers what shows.
    m_bitmap.reset(::CreateCompatibleBitmap(target->GetSafeHdc(), m_rect.right - m_rect.left,
                                            m_rect.bottom - m_rect.top));
    m_pOldBitmap = SelectObject(m_bitmap.get());
    SetWindowOrg(m_rect.left, m_rect.top);
  } else {
    m_bPrinting = target->IsPrinting();
    m_hDC = target->m_hDC;
    m_hAttribDC = target->m_hAttribDC;
  }
}

CMemDC::~CMemDC() {
  if (m_bMemDC) {
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
                  this, m_rect.left, m_rect.top, SRCCOPY);
    SelectObject(m_pOldBitmap);
  }
  // The borrowed handles of direct mode are the target's to free.
  m_hDC = m_hAttribDC = nullptr;
  m_bitmap.reset();
  m_memoryDc.reset();
}
