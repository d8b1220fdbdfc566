// The canvas in the real main window: repainting after a resize, the wheel, and the picture
// taken out of the program.
#include <filesystem>

#include "canvas/canvas_control_win.h"
#include "tests/win32/app_window_fixture.h"
#include "textview/screen_dpi_win.h"

namespace {

class CanvasWindowTest : public AppWindowTest {
  protected:
    // Gives the main window a client area of width x height, as a drag of its corner does.
    void ResizeClient(int width, int height) {
        RECT outer = {0, 0, width, height};
        AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0);
        SetWindowPos(main_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOZORDER | SWP_NOMOVE);
        Pump();
    }

    // Turns the wheel by `delta` with the pointer at the canvas's centre (or, `outside`, just
    // above the canvas), as the focus window receives it.
    void Wheel(int delta, WPARAM keys = 0, bool outside = false) {
        RECT canvas;
        GetWindowRect(Child(IDC_CANVAS), &canvas);
        const int y = outside ? canvas.top - 2 : (canvas.top + canvas.bottom) / 2;
        SendMessageW(main_, WM_MOUSEWHEEL, MAKEWPARAM(keys, delta),
                     MAKELPARAM((canvas.left + canvas.right) / 2, y));
        Pump();
    }

    void Command(int command) {
        SendMessageW(main_, WM_COMMAND, static_cast<WPARAM>(command), 0);
        Pump();
    }
};

// The quadrant picture's blue square fills its quarter of the picture, inside by one pixel.
int BlueMissing(const ClientPixels& pixels) {
    const CanvasRect& p = g_canvas_view.picture;
    const int mid_x = (p.left + p.right) / 2;
    const int mid_y = (p.top + p.bottom) / 2;
    const RECT blue = {mid_x + 1, mid_y + 1, p.right - 1, p.bottom - 1};
    return (blue.right - blue.left) * (blue.bottom - blue.top) - pixels.Count(blue, AsPixel(kBlue));
}

// After every change of size the canvas shows the picture fitted anew, its panel on top, and
// the record-index field below it.
TEST_F(CanvasWindowTest, ResizeRepaintsThePictureThePanelAndTheFields) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    SKIP_WITHOUT_CANVAS();
    Open(WriteQuadrantPicture());
    const int sizes[][2] = {{1000, 720}, {500, 360}, {640, 600}, {800, 420}};
    for (const auto& [width, height] : sizes) {
        ResizeClient(width, height);
        // The tab control under the views repaints, as it does when the pointer meets a tab.
        RedrawWindow(Child(IDC_MODESWITCHER), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT client;
        GetClientRect(Child(IDC_CANVAS), &client);
        const CanvasRect& p = g_canvas_view.picture;
        EXPECT_EQ(client.bottom, p.bottom - p.top) << width << " x " << height;
        const ClientPixels pixels(Child(IDC_CANVAS));
        EXPECT_EQ(0, BlueMissing(pixels)) << width << " x " << height;
        const CanvasPoint panel = g_canvas_view.panel_origin;
        EXPECT_EQ(AsPixel(GetSysColor(COLOR_ACTIVECAPTION)), pixels.At(panel.x + 40, panel.y + 5));
        EXPECT_EQ(AsPixel(GetSysColor(COLOR_WINDOW)),
                  ClientPixels(Child(IDC_RECORDINDEX)).At(2, 2));
    }
}

// The wheel over the picture steps through the records wherever the focus is, one per notch
// (finer wheels add up), and zooms with Ctrl; Actual Size shows the frame's size on screen.
TEST_F(CanvasWindowTest, WheelStepsTheRecordsAndZoomsWithCtrl) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    SKIP_WITHOUT_CANVAS();
    Open(WriteLongPicture(10));
    SetFocus(Child(IDC_CALLTEXT));
    Key(VK_HOME);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(1, g_current_record);
    Wheel(-WHEEL_DELTA / 2);
    EXPECT_EQ(1, g_current_record);
    Wheel(-WHEEL_DELTA / 2);
    EXPECT_EQ(2, g_current_record);
    Wheel(2 * WHEEL_DELTA);
    EXPECT_EQ(0, g_current_record);
    Wheel(-WHEEL_DELTA, 0, true);
    EXPECT_EQ(0, g_current_record);

    SendMessageW(Child(IDC_CANVAS), UWM_IDLEREFRESH, 0, 0);
    const CanvasRect fitted = g_canvas_view.picture;
    Wheel(WHEEL_DELTA, MK_CONTROL);
    EXPECT_EQ(0, g_canvas_view.fit_mode);
    EXPECT_EQ((fitted.bottom - fitted.top) * 6 / 5,
              g_canvas_view.picture.bottom - g_canvas_view.picture.top);
    EXPECT_EQ(0, g_current_record);

    Command(IDM_ACTUALSIZE);
    const int expected = 2645 * WindowDpi(Child(IDC_CANVAS)) / 2540;
    EXPECT_EQ(expected, g_canvas_view.picture.right - g_canvas_view.picture.left);
}

// Copy Picture puts the picture as shown, at its size on screen, on the clipboard as a bitmap
// and as an enhanced metafile.
TEST_F(CanvasWindowTest, CopyPicturePutsABitmapAndAMetafileOnTheClipboard) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    SKIP_WITHOUT_CANVAS();
    Open(WriteQuadrantPicture());
    Command(IDM_COPYPICTURE);
    EXPECT_TRUE(g_seam_log.box_texts.empty());
    const CanvasRect& p = g_canvas_view.picture;
    ASSERT_TRUE(OpenClipboard(main_));
    HGLOBAL dib = GetClipboardData(CF_DIB);
    ASSERT_NE(nullptr, dib);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(p.right - p.left, header->biWidth);
    EXPECT_EQ(p.bottom - p.top, header->biHeight);
    // Bottom-up rows: the red square's quarter is the last rows' left half.
    const auto* bits = reinterpret_cast<const uint32_t*>(header + 1);
    EXPECT_EQ(AsPixel(kRed), bits[(header->biHeight - 10) * header->biWidth + 10] & 0xFFFFFF);
    EXPECT_EQ(AsPixel(kBlue), bits[10 * header->biWidth + header->biWidth - 10] & 0xFFFFFF);
    GlobalUnlock(dib);
    HENHMETAFILE copy = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    ENHMETAHEADER copied = {};
    EXPECT_TRUE(copy != nullptr && GetEnhMetaFileHeader(copy, sizeof(copied), &copied) != 0);
    EXPECT_GT(copied.nRecords, 2u);
    CloseClipboard();
}

// Save Picture As writes the bitmap as PNG where the dialog says; a cancelled dialog writes
// nothing, and a file that cannot be written is reported.
TEST_F(CanvasWindowTest, SavePictureWritesAPngOnlyWhereTheUserSays) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    SKIP_WITHOUT_CANVAS();
    Open(WriteQuadrantPicture());
    const std::filesystem::path target = std::filesystem::temp_directory_path() / "saved.png";
    std::filesystem::remove(target);
    Command(IDM_SAVEPICTURE);
    EXPECT_EQ(1, g_seam_log.save_calls);
    EXPECT_FALSE(std::filesystem::exists(target));
    const OPENFILENAMEW& dialog = g_seam_log.last_save_dialog;
    EXPECT_STREQ(L"png", dialog.lpstrDefExt);
    EXPECT_NE(0u, dialog.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ(std::wstring(L"PNG image (*.png)"), dialog.lpstrFilter);
    EXPECT_TRUE(std::wstring(dialog.lpstrFile).ends_with(L"quadrants.png")) << dialog.lpstrFile;

    g_seam_log.save_path = target.wstring();
    Command(IDM_SAVEPICTURE);
    ASSERT_TRUE(g_seam_log.box_texts.empty()) << g_seam_log.box_texts[0];
    const std::vector<uint8_t> png = ReadFileBytes(target.string());
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ((std::vector<uint8_t>{0x89, 'P', 'N', 'G', 13, 10, 26, 10}),
              std::vector<uint8_t>(png.begin(), png.begin() + 8));
    const auto big_endian = [&png](size_t at) {
        return (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
    };
    const CanvasRect& p = g_canvas_view.picture;
    EXPECT_EQ(p.right - p.left, big_endian(16));
    EXPECT_EQ(p.bottom - p.top, big_endian(20));

    g_seam_log.save_path = (target.parent_path() / "no such folder" / "x.png").wstring();
    Command(IDM_SAVEPICTURE);
    ASSERT_EQ(1u, g_seam_log.box_texts.size());
    EXPECT_NE(0u, g_seam_log.box_type & MB_ICONERROR);
    EXPECT_NE(std::wstring::npos, g_seam_log.box_texts[0].find(L"x.png"))
        << g_seam_log.box_texts[0];
}

}  // namespace
