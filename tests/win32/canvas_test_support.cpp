// Helpers of the canvas and filter-list tests: a parent window that records what the canvas
// tells it, a canvas of a known client size, test pictures, and the pixels on screen.
#include "tests/win32/canvas_test_support.h"

#include <gtest/gtest.h>

#include "app/app_globals.h"
#include "app/filter_list.h"
#include "app/resource.h"
#include "canvas/canvas_control_win.h"
#include "canvas/canvas_window_win.h"
#include "tests/support/emf_builder.h"

namespace {

constexpr wchar_t kHostClassName[] = L"OrvellaCanvasTestHost";

std::vector<int32_t> g_played;

LRESULT CALLBACK HostWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
            if (header->idFrom == IDC_CANVAS &&
                header->code == static_cast<UINT>(CVN_INDEXCHANGED)) {
                CanvasHost::notified_indexes_.push_back(
                    static_cast<int32_t>(SendMessageW(header->hwndFrom, CVM_GETINDEX, 0, 0)));
            }
            return 0;
        }
        case WM_COMMAND:
            CanvasHost::parent_commands_.push_back(LOWORD(wparam));
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

void RegisterClasses() {
    static bool registered = false;
    if (registered) {
        return;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterCanvasClass(instance);
    WNDCLASSEXW host = {};
    host.cbSize = sizeof(host);
    host.lpfnWndProc = HostWndProc;
    host.hInstance = instance;
    host.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    host.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    host.lpszClassName = kHostClassName;
    RegisterClassExW(&host);
    registered = true;
}

void RecordPlayed(int32_t record_index) {
    g_played.push_back(record_index);
}

// Every test shares one top-level window: without a window manager, Wine waits two seconds for
// a destroyed top-level window to be withdrawn, while children come and go at once.
HWND SharedParent() {
    static HWND parent = nullptr;
    if (parent == nullptr || !IsWindow(parent)) {
        RECT frame = {0, 0, 1000, 760};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        parent = CreateWindowExW(0, kHostClassName, L"Orvella canvas test", WS_OVERLAPPEDWINDOW, 0,
                                 0, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(parent, SW_SHOW);
    }
    return parent;
}

}  // namespace

CanvasHost::CanvasHost(int width, int height) {
    RegisterClasses();
    g_canvas_view = CanvasView{};
    CanvasHost::notified_indexes_.clear();
    CanvasHost::parent_commands_.clear();
    parent_ = SharedParent();
    canvas_ = CreateWindowExW(WS_EX_CLIENTEDGE, kCanvasClassName, L"",
                              WS_CHILD | WS_VISIBLE | WS_HSCROLL, 0, 0, width, height, parent_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CANVAS)),
                              GetModuleHandleW(nullptr), nullptr);
    // A test without its canvas would look at nothing: it fails.
    if (canvas_ == nullptr) {
        ADD_FAILURE() << "the canvas could not be created";
    }
    RECT client;
    GetClientRect(canvas_, &client);
    MoveWindow(canvas_, 0, 0, 2 * width - client.right, 2 * height - client.bottom, TRUE);
    SetForegroundWindow(parent_);
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pump();
}

CanvasHost::~CanvasHost() {
    // Children other than the canvas are the filter lists a test added.
    while (HWND list = GetDlgItem(parent_, IDC_FILTERLIST)) {
        DestroyWindow(list);
    }
    DestroyWindow(canvas_);
    Pump();
    g_document.Release();
    g_canvas_view = CanvasView{};
}

HWND CanvasHost::AddFilterList() {
    return CreateFilterList(parent_, GetModuleHandleW(nullptr));
}

bool CanvasHost::Open(const std::string& path) {
    if (g_document.LoadFile(ToU16(path).c_str()) == 0) {
        return false;
    }
    SendMessageW(canvas_, CVM_SETDOCUMENT, reinterpret_cast<WPARAM>(&g_document),
                 reinterpret_cast<LPARAM>(ListedRecordFilter()));
    FillFilterList(parent_);
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return true;
}

ClientPixels::ClientPixels(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    pixels_.assign(static_cast<size_t>(width_) * height_, 0);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* source = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < pixels_.size(); ++i) {
        pixels_[i] = source[i] & 0x00FFFFFF;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
}

int ClientPixels::Count(const RECT& rect, uint32_t color) const {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (x >= 0 && y >= 0 && x < width_ && y < height_ && At(x, y) == color) {
                ++count;
            }
        }
    }
    return count;
}

uint32_t AsPixel(COLORREF color) {
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

std::string WriteQuadrantPicture() {
    const auto select = [](uint32_t object) { return RecordBuilder(37, 12).U32(8, object); };
    const auto brush = [](uint32_t handle, COLORREF color) {
        return RecordBuilder(39, 24).U32(8, handle).U32(12, BS_SOLID).U32(16, color);
    };
    EmfBuilder picture;
    picture.Handles(3)
        .Add(select(0x80000008))  // the stock null pen
        .Add(brush(1, kRed))
        .Add(select(1))
        .Add(RecordBuilder(43, 24).I32(16, 50).I32(20, 50))
        .Add(brush(2, kBlue))
        .Add(select(2))
        .Add(RecordBuilder(43, 24).I32(8, 50).I32(12, 50).I32(16, 100).I32(20, 100));
    return WriteTempFile("quadrants.emf", picture.Build());
}

std::string WriteLongPicture(uint32_t records, const std::string& name) {
    EmfBuilder picture;
    const RecordBuilder transparent = RecordBuilder(18, 12).U32(8, TRANSPARENT);
    for (uint32_t i = 2; i < records; ++i) {
        picture.Add(transparent);
    }
    return WriteTempFile(name, picture.Build());
}

PlaybackLog::PlaybackLog() : watch_(RecordPlayed) {
    g_played.clear();
    EXPECT_TRUE(watch_.watching());
}

PlaybackLog::~PlaybackLog() = default;

const std::vector<int32_t>& PlaybackLog::played() const {
    return g_played;
}

void PlaybackLog::Clear() {
    g_played.clear();
}
