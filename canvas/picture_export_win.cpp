// The picture taken out of the program: rendered as the paint renders it, then put on the
// clipboard or encoded as PNG through the platform's imaging component.
#include "canvas/picture_export_win.h"

#include <wincodec.h>

#include "canvas/canvas_control_win.h"
#include "canvas/canvas_view.h"
#include "canvas/gdiplus_player_win.h"
#include "document/metafile_document.h"

namespace {

// The picture rendered into a bottom-up 32-bit bitmap of the picture rectangle's size.
struct PictureBitmap {
    HBITMAP bitmap = nullptr;
    const void* bits = nullptr;
    int width = 0;
    int height = 0;
    PictureBitmap() = default;
    PictureBitmap(const PictureBitmap&) = delete;
    PictureBitmap& operator=(const PictureBitmap&) = delete;
    ~PictureBitmap() {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
    }
};

// Releases a COM interface at the end of its scope.
template <class Interface>
struct Owned {
    Interface* p = nullptr;
    Owned() = default;
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() {
        if (p != nullptr) {
            p->Release();
        }
    }
};

BITMAPINFOHEADER BitmapHeader(int width, int height) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(width) * 4u * static_cast<DWORD>(height);
    return header;
}

// The size of the picture rectangle, which a mirrored picture gives reversed; false, with the
// reason, when it is empty or larger than a bitmap taken out may be.
bool ExportSize(int* width, int* height, std::wstring* failure) {
    const CanvasRect& p = g_canvas_view.picture;
    const int64_t w = p.right > p.left ? int64_t{p.right} - p.left : int64_t{p.left} - p.right;
    const int64_t h = p.bottom > p.top ? int64_t{p.bottom} - p.top : int64_t{p.top} - p.bottom;
    if (w == 0 || h == 0) {
        *failure = L"The picture has no pixels at this size.";
        return false;
    }
    if (w > kLargestExportSide || h > kLargestExportSide) {
        wchar_t text[200];
        wsprintfW(text,
                  L"The picture is %d x %d pixels at this zoom; at most %d x %d can be taken "
                  L"out. Zoom out or fit the image, then try again.",
                  static_cast<int>(w), static_cast<int>(h), kLargestExportSide, kLargestExportSide);
        *failure = text;
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

// The picture rectangle moved so that its top-left corner, whichever corner that is for a
// mirrored picture, lies at (0, 0).
RECT PictureAtOrigin() {
    const CanvasRect& p = g_canvas_view.picture;
    const int32_t x = p.left < p.right ? p.left : p.right;
    const int32_t y = p.top < p.bottom ? p.top : p.bottom;
    return RECT{p.left - x, p.top - y, p.right - x, p.bottom - y};
}

// The background colour as ground, then the canvas's player plays what the paint plays.
bool RenderPicture(HWND window, PictureBitmap* picture, std::wstring* failure) {
    const MetafileDocument* document = LoadedDocument(window);
    const CanvasWindow* canvas = CanvasWindowOf(window);
    if (document == nullptr || canvas == nullptr) {
        *failure = L"No metafile is open.";
        return false;
    }
    if (!ExportSize(&picture->width, &picture->height, failure)) {
        return false;
    }
    const BITMAPINFOHEADER header = BitmapHeader(picture->width, picture->height);
    void* bits = nullptr;
    picture->bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&header),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC surface = picture->bitmap != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
    if (surface == nullptr) {
        *failure = L"The picture's bitmap could not be made: " +
                   SystemReason(GetLastError() != 0 ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    picture->bits = bits;
    HGDIOBJ previous = SelectObject(surface, picture->bitmap);
    const RECT whole = {0, 0, picture->width, picture->height};
    SetBkColor(surface, g_canvas_view.background_color);
    ExtTextOutW(surface, 0, 0, ETO_OPAQUE, &whole, nullptr, 0, nullptr);
    const int32_t index = GetRecordIndex(window);
    // Drawn as the canvas draws it: with GDI+ where GDI+ alone draws the picture.
    if (index >= 0) {
        const Player& player = g_canvas_view.renderer == Renderer::kGdiPlus
                                   ? kGdiPlusPlayer
                                   : StillPlayer(*canvas->player);
        PlayUpTo(player, surface, PictureAtOrigin(), *document, canvas->filter, index,
                 canvas->place);
    }
    GdiFlush();
    SelectObject(surface, previous);
    DeleteDC(surface);
    return true;
}

// The bitmap as a packed DIB in movable global memory, as the clipboard takes it.
HGLOBAL PackedDib(const PictureBitmap& picture) {
    const BITMAPINFOHEADER header = BitmapHeader(picture.width, picture.height);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(header) + header.biSizeImage);
    void* target = memory != nullptr ? GlobalLock(memory) : nullptr;
    if (target == nullptr) {
        if (memory != nullptr) {
            GlobalFree(memory);
        }
        return nullptr;
    }
    CopyMemory(target, &header, sizeof(header));
    CopyMemory(static_cast<BYTE*>(target) + sizeof(header), picture.bits, header.biSizeImage);
    GlobalUnlock(memory);
    return memory;
}

// The same records played into a recording: its frame is the header's, and they are played
// into the rectangle that frame covers on the reference screen, so the copy keeps the
// original's place and proportions. A frame without area leaves the frame to the platform and
// plays into the picture's present size.
HENHMETAFILE RecordPicture(HWND window, const PictureBitmap& picture) {
    const MetafileDocument* document = LoadedDocument(window);
    const CanvasWindow* canvas = CanvasWindowOf(window);
    CanvasRect frame;
    if (document == nullptr || canvas == nullptr ||
        !ReadPictureFrame(RecordView{document->Header(), document->HeaderSize()}, &frame)) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    const bool has_area = frame.right > frame.left && frame.bottom > frame.top;
    const RECT frame_rect = {frame.left, frame.top, frame.right, frame.bottom};
    HDC recorder = CreateEnhMetaFileW(screen, nullptr, has_area ? &frame_rect : nullptr, nullptr);
    RECT target = {0, 0, picture.width, picture.height};
    if (has_area) {
        const int across = GetDeviceCaps(screen, HORZRES);
        const int down = GetDeviceCaps(screen, VERTRES);
        const int across_mm = GetDeviceCaps(screen, HORZSIZE) * 100;
        const int down_mm = GetDeviceCaps(screen, VERTSIZE) * 100;
        if (across_mm > 0 && down_mm > 0) {
            target =
                RECT{MulDiv(frame.left, across, across_mm), MulDiv(frame.top, down, down_mm),
                     MulDiv(frame.right, across, across_mm), MulDiv(frame.bottom, down, down_mm)};
        }
    }
    ReleaseDC(nullptr, screen);
    if (recorder == nullptr) {
        return nullptr;
    }
    const int32_t index = GetRecordIndex(window);
    if (index >= 0) {
        StillPlayer(*canvas->player).play(recorder, target, *document, canvas->filter, index);
    }
    return CloseEnhMetaFile(recorder);
}

HRESULT EncodePng(IWICImagingFactory* factory, HBITMAP bitmap, IWICStream* stream, int width,
                  int height) {
    Owned<IWICBitmap> source;
    HRESULT result =
        factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &source.p);
    Owned<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(result)) {
        result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder.p);
    }
    if (SUCCEEDED(result)) {
        result = encoder.p->Initialize(stream, WICBitmapEncoderNoCache);
    }
    Owned<IWICBitmapFrameEncode> frame;
    Owned<IPropertyBag2> options;
    if (SUCCEEDED(result)) {
        result = encoder.p->CreateNewFrame(&frame.p, &options.p);
    }
    if (SUCCEEDED(result)) {
        result = frame.p->Initialize(options.p);
    }
    if (SUCCEEDED(result)) {
        result = frame.p->SetSize(static_cast<UINT>(width), static_cast<UINT>(height));
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(result)) {
        result = frame.p->SetPixelFormat(&format);
    }
    if (SUCCEEDED(result)) {
        result = frame.p->WriteSource(source.p, nullptr);
    }
    if (SUCCEEDED(result)) {
        result = frame.p->Commit();
    }
    if (SUCCEEDED(result)) {
        result = encoder.p->Commit();
    }
    return result;
}

// A file the stream opened is the user's new file: when the encoding fails it is removed, so
// that no broken image is left behind. A file that could not be opened is left as it was.
HRESULT WritePng(const PictureBitmap& picture, const wchar_t* path) {
    Owned<IWICImagingFactory> factory;
    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory.p));
    if (FAILED(result)) {
        return result;
    }
    bool opened = false;
    {
        Owned<IWICStream> stream;
        result = factory.p->CreateStream(&stream.p);
        if (SUCCEEDED(result)) {
            result = stream.p->InitializeFromFilename(path, GENERIC_WRITE);
            opened = SUCCEEDED(result);
        }
        if (opened) {
            result = EncodePng(factory.p, picture.bitmap, stream.p, picture.width, picture.height);
        }
    }
    if (opened && FAILED(result)) {
        DeleteFileW(path);
    }
    return result;
}

}  // namespace

std::wstring SystemReason(DWORD code) {
    wchar_t text[512] = L"";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, 512, nullptr);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' ||
                          text[length - 1] == L' ' || text[length - 1] == L'.')) {
        --length;
    }
    if (length == 0) {
        wsprintfW(text, L"error 0x%08X", static_cast<unsigned>(code));
        return text;
    }
    return std::wstring(text, length);
}

bool CopyPictureToClipboard(HWND canvas, std::wstring* failure) {
    PictureBitmap picture;
    if (!RenderPicture(canvas, &picture, failure)) {
        return false;
    }
    HGLOBAL dib = PackedDib(picture);
    if (dib == nullptr) {
        *failure = L"The picture could not be copied: " + SystemReason(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    HENHMETAFILE recording = RecordPicture(canvas, picture);
    if (!OpenClipboard(canvas)) {
        *failure = L"The clipboard could not be opened: " + SystemReason(GetLastError());
        GlobalFree(dib);
        if (recording != nullptr) {
            DeleteEnhMetaFile(recording);
        }
        return false;
    }
    EmptyClipboard();
    // What the clipboard takes is its own; what it refuses is still the program's.
    const bool copied = SetClipboardData(CF_DIB, dib) != nullptr;
    if (!copied) {
        *failure = L"The picture could not be copied: " + SystemReason(GetLastError());
        GlobalFree(dib);
    }
    if (recording != nullptr && SetClipboardData(CF_ENHMETAFILE, recording) == nullptr) {
        DeleteEnhMetaFile(recording);
    }
    CloseClipboard();
    return copied;
}

bool SavePicturePng(HWND canvas, const wchar_t* path, std::wstring* failure) {
    PictureBitmap picture;
    if (!RenderPicture(canvas, &picture, failure)) {
        return false;
    }
    const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HRESULT result = WritePng(picture, path);
    if (SUCCEEDED(initialised)) {
        CoUninitialize();
    }
    if (FAILED(result)) {
        *failure = std::wstring(L"The picture could not be saved as ") + path + L": " +
                   SystemReason(static_cast<DWORD>(result)) + L".";
        return false;
    }
    return true;
}
