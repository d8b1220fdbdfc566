// The screen's dots per inch for a window, and sizes drawn at 96 DPI scaled to it, so that
// fonts, controls and the layout keep their size on high-DPI screens.
#pragma once

#include <windows.h>

inline constexpr int kBaseDpi = 96;

// The DPI of the monitor `window` is on where the platform says so per window, else the
// system's DPI; kBaseDpi when neither can be had.
int WindowDpi(HWND window);

// `pixels` at 96 DPI, at `dpi`: rounded, never 0 where `pixels` is not.
int ScaledToDpi(int pixels, int dpi);
