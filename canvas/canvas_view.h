// The canvas's view state: picture rectangle, fit and zoom, the button panel and the drag.
#pragma once

#include <cstdint>

struct CanvasPoint {
    int32_t x;
    int32_t y;
};

// Left, top, right, bottom; right and bottom are exclusive.
struct CanvasRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct CanvasButton {
    const char16_t* label;
    int32_t command;
    int32_t enabled;
};

// The one canvas's state, process-wide.
struct CanvasView {
    CanvasPoint panel_origin{10, 10};
    CanvasRect picture{65535, 65535, 65535, 65535};
    int32_t fit_mode = 1;
    int32_t dragging = 0;
    // 0 moving the button panel, 1 panning the picture.
    int32_t drag_kind = 0;
    CanvasPoint drag_anchor{0, 0};
    CanvasButton buttons[5] = {
        {u"Open...", 110, 1},  {u"Fit Image", 119, 0},      {u"Zoom In", 117, 0},
        {u"Zoom Out", 118, 0}, {u"Back Ground...", 112, 1},
    };
    // The picture's ground, a COLORREF: RGB(255, 255, 225) at start.
    uint32_t background_color = 0x00E1FFFF;
    int32_t playback_counter = 0;
};

extern CanvasView g_canvas_view;
