// The main window's six children: their creation, the shared font and the layout.
#pragma once

#include <windows.h>

// Creates the children in their order (tab control, canvas, record-index field, call pane,
// report control, filter list) and posts the Open command. A child that cannot be created is
// left out.
void CreateChildren(HWND main_window);

// Creates the hidden report control (id 500), the text view of the reports; nullptr on
// failure.
HWND CreateReportControl(HWND main_window);

// Places the children for a client area of `width` x `height`.
void LayOutChildren(HWND main_window, int width, int height);

// Gives the shared "Courier New" font to an edit field, creating the font on first use.
void SetSharedFont(HWND edit);
