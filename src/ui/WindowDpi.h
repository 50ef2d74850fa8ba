#pragma once

// The density a window is laid out at. Under per-monitor awareness the screen's device context
// reports the system's density, not that of the monitor the window opens on, and Windows sends no
// WM_DPICHANGED at creation. Windows 10 (1607) and later tell each window its own; both calls are
// looked up at run time, since Windows 7 has neither.

#include "ui/Win32Api.h"

namespace docrecover::ui {

// The window's own density where the system offers it, otherwise screenDpi.
int WindowDpi(HWND window, int screenDpi);

// AdjustWindowRectEx with the frame's metrics at dpi where the system offers it, otherwise at
// the system's density.
BOOL AdjustFrameForDpi(RECT* frame, DWORD style, DWORD exStyle, int dpi);

}  // namespace docrecover::ui
