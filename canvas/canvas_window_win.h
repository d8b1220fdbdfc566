// The canvas control: its window class and window procedure.
#pragma once

#include <windows.h>

inline constexpr wchar_t kCanvasClassName[] = L"Orvella_Canvas";

// Registers the canvas window class; its atom, or 0 on failure.
ATOM RegisterCanvasClass(HINSTANCE instance);

LRESULT CALLBACK CanvasWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
