// The status bar at the foot of the main window: the current record, its type and offset, the
// zoom, the picture's size and the damage notice of the loaded file.
#pragma once

#include <windows.h>

#include <cstdint>

#include "text/wide_text.h"

// Creates the status bar (control 506) with its size grip; nullptr when it cannot be created.
HWND CreateStatusBar(HWND main_window);

// Lets the status bar take its place at the bottom for the main window's new size, sets its
// parts' widths for the window's DPI and returns its height; 0 without a status bar.
int PlaceStatusBar(HWND main_window);

// Shows what the status bar says about the loaded file and the current record.
void UpdateStatusBar(HWND main_window);
