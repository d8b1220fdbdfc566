// Helpers of the canvas and filter-list tests: a parent window that records what the canvas
// tells it, a canvas of a known client size, test pictures, and the pixels on screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/canvas_messages.h"
#include "canvas/canvas_view.h"
#include "tests/win32/playback_watch.h"

// Handles every message waiting for the test's thread; a quit message left by a destroyed
// main window is dropped.
inline void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A top-level window standing in for the main window: it keeps the notifications and commands
// its children send, and holds one canvas (control 504) and, on request, the filter list.
class CanvasHost {
  public:
    // A canvas whose client area is width x height; the view state starts afresh.
    CanvasHost(int width, int height);
    ~CanvasHost();
    CanvasHost(const CanvasHost&) = delete;
    CanvasHost& operator=(const CanvasHost&) = delete;

    HWND parent() const { return parent_; }
    HWND canvas() const { return canvas_; }
    // Creates the filter list in the parent; the list is not filled.
    HWND AddFilterList();

    // Loads `path` into the process-wide document and attaches it, as the shell's Open does.
    bool Open(const std::string& path);
    // Has every pending paint of the canvas carried out now.
    void PaintNow() { RedrawWindow(parent_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }
    // Sends the idle refresh the message loop sends once the queue has drained.
    void IdleRefresh() { SendMessageW(canvas_, UWM_IDLEREFRESH, 0, 0); }
    int32_t Index() const {
        return static_cast<int32_t>(SendMessageW(canvas_, CVM_GETINDEX, 0, 0));
    }
    // The index the parent fetched on each CVN_INDEXCHANGED, and the commands it received from
    // the canvas, in order.
    const std::vector<int32_t>& notified_indexes() const { return notified_indexes_; }
    const std::vector<int>& parent_commands() const { return parent_commands_; }
    // Kept by the parent's window procedure.
    static inline std::vector<int32_t> notified_indexes_;
    static inline std::vector<int> parent_commands_;
    // Whether the canvas has a repaint pending; ValidateCanvas clears it.
    bool RepaintPending() const { return GetUpdateRect(canvas_, nullptr, FALSE) != 0; }
    void ValidateCanvas() const { ValidateRect(canvas_, nullptr); }

  private:
    HWND parent_ = nullptr;
    HWND canvas_ = nullptr;
};

// The pixels of the canvas's client area as the screen shows them, row by row (0x00RRGGBB).
class ClientPixels {
  public:
    explicit ClientPixels(HWND window);
    uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    // How many pixels of the rectangle have exactly `color`.
    int Count(const RECT& rect, uint32_t color) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
};

// A COLORREF (0x00BBGGRR) as the pixels give it (0x00RRGGBB).
uint32_t AsPixel(COLORREF color);

// Colours of the test pictures.
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);

// A picture drawn on a logical square of 100 x 100 units with a null pen:
//   0 header, 1 null pen, 2 red brush, 3 select it, 4 red square (0, 0)-(50, 50),
//   5 blue brush, 6 select it, 7 blue square (50, 50)-(100, 100), 8 end of file.
// Written to a temporary file; its path.
std::string WriteQuadrantPicture();
// A picture of `records` records in all: header, SetBkMode records, end of file; written to
// the temporary file `name`.
std::string WriteLongPicture(uint32_t records, const std::string& name = "long.emf");

// The view's picture rectangle as {left, top, right, bottom}.
inline std::vector<int32_t> Picture() {
    const CanvasRect& p = g_canvas_view.picture;
    return {p.left, p.top, p.right, p.bottom};
}

// The records played by the canvas since the last Clear, by index (-1: the whole metafile).
class PlaybackLog {
  public:
    PlaybackLog();
    ~PlaybackLog();
    const std::vector<int32_t>& played() const;
    void Clear();

  private:
    playback_watch::PlaybackWatch watch_;
};
