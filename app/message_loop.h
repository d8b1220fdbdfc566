// The program's one message loop, with the idle refresh of the main window's children.
#pragma once

#include <windows.h>

// Sends UWM_IDLEREFRESH to every direct child of the main window, first to last, but the
// status bar.
void SendIdleRefresh(HWND main_window);

// Runs until the quit message and returns its wParam. The children are refreshed once the
// queue has drained, at start and after every drain that followed a paint.
int RunMessageLoop(HWND main_window, HACCEL accelerators);
