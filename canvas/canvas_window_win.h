// The canvas control: its window class and window procedure.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr wchar_t kCanvasClassName[] = L"Orvella_Canvas";

// What CVN_DRAWNBY tells: the record that drew the point (now the current record), or -1
// when no record up to the current one changed it.
struct CanvasDrawnBy {
    NMHDR header;
    int32_t record;
};

// What CVN_RECORDDREW tells: the record shown and the pixels of the picture on screen it
// changed (-1: it is switched off), or record -1 once the mode is off.
struct CanvasRecordDrew {
    NMHDR header;
    int32_t record;
    int64_t pixels;
};

// Registers the canvas window class; its atom, or 0 on failure.
ATOM RegisterCanvasClass(HINSTANCE instance);

LRESULT CALLBACK CanvasWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
