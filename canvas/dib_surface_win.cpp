// The section is selected into its context for the surface's whole life.
#include "canvas/dib_surface_win.h"

DibSurface::DibSurface(int width, int height, HDC like)
    : width_(width > 0 ? width : 1), height_(height > 0 ? height : 1) {
    dc_ = CreateCompatibleDC(like);
    if (dc_ == nullptr) {
        return;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    section_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section_ != nullptr && bits != nullptr) {
        before_ = SelectObject(dc_, section_);
        pixels_ = static_cast<uint32_t*>(bits);
    }
}

DibSurface::~DibSurface() {
    if (before_ != nullptr) {
        SelectObject(dc_, before_);
    }
    if (section_ != nullptr) {
        DeleteObject(section_);
    }
    if (dc_ != nullptr) {
        DeleteDC(dc_);
    }
}

void DibSurface::Fill(COLORREF color) {
    const RECT all = {0, 0, width_, height_};
    SetBkColor(dc_, color);
    ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
}
