#pragma once
// One paint of the gradient bar, timed: the program's own bar class on a
// platform progress control of a given client size, shown on screen, invalidated
// and painted at once, as the dialog's bar is painted when its position moves.
#include <windows.h>

#include "bench/Samples.h"
#include "framework/Wnd.h"
#include "progress/GradientProgressCtrl.h"

class BarPaintTimer {
 public:
  BarPaintTimer() = default;
  ~BarPaintTimer();
  BarPaintTimer(const BarPaintTimer&) = delete;
  BarPaintTimer& operator=(const BarPaintTimer&) = delete;

  // False when no window could be made.
  bool Create(SIZE clientSize);
  // Paints `count` times, at positions that sweep the range; seconds each.
  Samples Time(int count);

 private:
  CWnd m_host;
  CGradientProgressCtrl m_bar;
};
