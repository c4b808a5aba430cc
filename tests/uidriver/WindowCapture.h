#pragma once
// Pictures of what the screen shows. Windows of another process cannot draw
// into our device contexts, so the pixels are read back from the screen:
// whatever lies on top of the window at that moment is in the picture too.
#include <windows.h>

#include <string>

#include "tests/uidriver/PixelImage.h"

namespace uidriver {

// The pixels of a rectangle in screen coordinates; empty on failure.
PixelImage CaptureScreenRect(const RECT& rect);
// The whole window, frame and caption included.
PixelImage CaptureWindow(HWND window);
bool SaveWindowPng(HWND window, const std::string& path);

}  // namespace uidriver
