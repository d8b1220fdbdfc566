// A memory context holding a top-down 32-bit DIB section, whose pixels can be read back.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

class DibSurface {
  public:
    // width x height pixels (each at least 1), in a context compatible with `like` (nullptr:
    // the screen). ok() says whether it could be had.
    DibSurface(int width, int height, HDC like = nullptr);
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    bool ok() const { return pixels_ != nullptr; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    size_t count() const { return size_t(width_) * size_t(height_); }
    // The pixels, 0x00RRGGBB, row by row from the top; read them only after Flushed() or
    // GdiFlush(), since drawing is batched.
    uint32_t* pixels() const { return pixels_; }
    const uint32_t* Flushed() const {
        GdiFlush();
        return pixels_;
    }
    // Paints every pixel `color`.
    void Fill(COLORREF color);

  private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP section_ = nullptr;
    HGDIOBJ before_ = nullptr;
    uint32_t* pixels_ = nullptr;
};
