// The switch between the main window's views.
#pragma once

#include <windows.h>

#include <cstdint>

// The view shown: its index in kViews (app/views.h).
extern int32_t g_view_mode;

// Switches to view `mode`: builds its report when it is a text view, shows its controls and
// selects its tab. 0 for a mode past the last view, else 1.
int SwitchView(HWND main_window, unsigned mode);
