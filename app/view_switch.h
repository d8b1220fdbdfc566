// The six views of the main window and the switch between them.
#pragma once

#include <windows.h>

#include <cstdint>

// 0 "The EMF", 1 "Header", 2 "Records", 3 "GDI calls", 4 "Filter", 5 "EMF+".
extern int32_t g_view_mode;

// Switches to view `mode`: builds its report when it is a text view, shows its controls and
// selects its tab. 0 for a mode above 5, else 1.
int SwitchView(HWND main_window, unsigned mode);
