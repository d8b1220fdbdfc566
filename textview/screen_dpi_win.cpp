// The screen's dots per inch for a window, and sizes drawn at 96 DPI scaled to it.
#include "textview/screen_dpi_win.h"

namespace {

// GetDpiForWindow exists from Windows 10 1607 on; it is looked up so that the program still
// starts on older systems.
using DpiForWindow = UINT(WINAPI*)(HWND);

DpiForWindow LookUpDpiForWindow() {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    if (user == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
}

}  // namespace

int WindowDpi(HWND window) {
    static const DpiForWindow dpi_for_window = LookUpDpiForWindow();
    if (window != nullptr && dpi_for_window != nullptr) {
        const UINT dpi = dpi_for_window(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kBaseDpi;
}

int ScaledToDpi(int pixels, int dpi) {
    const int scaled = MulDiv(pixels, dpi, kBaseDpi);
    if (scaled == 0 && pixels != 0) {
        return pixels > 0 ? 1 : -1;
    }
    return scaled;
}
