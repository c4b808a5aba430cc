#pragma once
// An off-screen surface over the clip box of a target DC: draw on it, and its
// destruction copies the drawing to the target with one BitBlt. On a printer
// DC it draws straight to the target instead.
#include "framework/Dc.h"
#include "framework/UniqueResource.h"

class CMemDC : public CDC {
 public:
  explicit CMemDC(CDC* target);
  ~CMemDC() override;

 private:
  UniqueGdiObject m_bitmap;
  HGDIOBJ m_pOldBitmap = nullptr;
  CDC* m_pDC;
  RECT m_rect{};
  BOOL m_bMemDC;
  UniqueMemoryDc m_memoryDc;
};
