// The border between the canvas and the call pane, which the user drags to give the pane
// another height.
#pragma once

#include <windows.h>

// Mouse messages of the main window at client point `at`. Each returns true when it took the
// message: the size cursor over the border, a press on it starting the drag, the moves of the
// drag and its end.
bool OnSplitterSetCursor(HWND main_window);
bool OnSplitterButtonDown(HWND main_window, POINT at);
bool OnSplitterMouseMove(HWND main_window, POINT at);
bool OnSplitterButtonUp(HWND main_window);
// The drag ends when the main window loses the mouse capture.
void OnSplitterCaptureLost();
