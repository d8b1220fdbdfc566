// The canvas in the real main window: repainting after a resize, the wheel, and the picture
// taken out of the program.
#include "tests/win32/app_window_fixture.h"

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

}  // namespace
