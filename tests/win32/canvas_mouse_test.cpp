// The canvas's mouse: buttons act on the press, the grip bar drags the panel, a drag pans a
// zoomed picture, a plain right click fits; the cursor.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "app/resource.h"
#include "canvas/canvas_control_win.h"
#include "tests/win32/canvas_test_support.h"

namespace {

void Press(HWND canvas, int x, int y) {
    SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void MoveTo(HWND canvas, int x, int y) {
    SendMessageW(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
}

void Release(HWND canvas, int x, int y) {
    SendMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// The command a press posted to the canvas, taken off the queue; 0 when none was posted.
int PostedCommand(HWND canvas) {
    MSG message;
    if (!PeekMessageW(&message, canvas, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        return 0;
    }
    return LOWORD(message.wParam);
}

// The cursor the canvas chooses with the pointer at client point (x, y).
HCURSOR CursorAt(HWND canvas, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(canvas, &point);
    SetCursorPos(point.x, point.y);
    SendMessageW(canvas, WM_SETCURSOR, reinterpret_cast<WPARAM>(canvas),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

// A 600 x 400 canvas with the test picture attached and its buttons enabled.
class CanvasMouse : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host_.Open(WriteQuadrantPicture()));
        host_.IdleRefresh();
        host_.PaintNow();
    }

    HWND canvas() const { return host_.canvas(); }

    CanvasHost host_{600, 400};
};

TEST_F(CanvasMouse, PressOnAButtonPostsItsCommandWhichRunsLater) {
    // The panel stands at (10, 10): grip bar 10 high, then rows of 18.
    // The line between rows 0 and 1 belongs to row 1; just right of the panel, in fit mode,
    // nothing is pressed.
    const int presses[][3] = {
        {50, 25, kCommandOpen}, {50, 38, kCommandFit}, {93, 109, kCommandBackground}, {94, 60, 0}};
    for (const auto& [x, y, command] : presses) {
        Press(canvas(), x, y);
        EXPECT_EQ(command, PostedCommand(canvas())) << x << ", " << y;
    }
    EXPECT_EQ(0, g_canvas_view.dragging);

    Press(canvas(), 50, 60);
    EXPECT_EQ(1, g_canvas_view.fit_mode);
    Pump();
    EXPECT_EQ(0, g_canvas_view.fit_mode);
    const std::vector<int32_t> zoomed = Picture();
    Release(canvas(), 300, 300);
    Pump();
    EXPECT_EQ(zoomed, Picture());
}

TEST_F(CanvasMouse, GripBarDragMovesThePanelInsideTheClientArea) {
    Press(canvas(), 50, 15);
    EXPECT_EQ(1, g_canvas_view.dragging);
    EXPECT_EQ(canvas(), GetCapture());
    MoveTo(canvas(), 70, 40);
    EXPECT_EQ(30, g_canvas_view.panel_origin.x);
    EXPECT_EQ(35, g_canvas_view.panel_origin.y);
    EXPECT_EQ(1, BufferedPaintFlag(canvas()));
    MoveTo(canvas(), -500, -500);
    EXPECT_EQ(0, g_canvas_view.panel_origin.x);
    EXPECT_EQ(0, g_canvas_view.panel_origin.y);
    MoveTo(canvas(), 2000, 2000);
    EXPECT_EQ(515, g_canvas_view.panel_origin.x);
    EXPECT_EQ(281, g_canvas_view.panel_origin.y);
    Release(canvas(), 2000, 2000);
    EXPECT_EQ(0, g_canvas_view.dragging);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(host_.parent(), GetFocus());
    MoveTo(canvas(), 100, 100);
    EXPECT_EQ(515, g_canvas_view.panel_origin.x);
}

TEST_F(CanvasMouse, DragOutsideThePanelPansOnlyOutOfFitMode) {
    const std::vector<int32_t> fitted = Picture();
    Press(canvas(), 300, 300);
    EXPECT_EQ(0, g_canvas_view.dragging);
    MoveTo(canvas(), 350, 320);
    EXPECT_EQ(fitted, Picture());

    SendMessageW(canvas(), WM_COMMAND, kCommandZoomIn, 0);
    const CanvasRect zoomed = g_canvas_view.picture;
    Press(canvas(), 300, 300);
    EXPECT_EQ(1, g_canvas_view.dragging);
    MoveTo(canvas(), 350, 320);
    MoveTo(canvas(), 340, 330);
    Release(canvas(), 340, 330);
    EXPECT_EQ((std::vector<int32_t>{zoomed.left + 40, zoomed.top + 30, zoomed.right + 40,
                                    zoomed.bottom + 30}),
              Picture());
    // A capture lost in the middle of a drag ends it without moving.
    const std::vector<int32_t> panned = Picture();
    Press(canvas(), 300, 300);
    ReleaseCapture();
    MoveTo(canvas(), 350, 350);
    EXPECT_EQ(0, g_canvas_view.dragging);
    EXPECT_EQ(panned, Picture());
}

TEST_F(CanvasMouse, HandCursorOutsideThePanelOnlyOutOfFitMode) {
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_PANHAND));
    EXPECT_EQ(arrow, CursorAt(canvas(), 300, 300));
    EXPECT_EQ(arrow, CursorAt(canvas(), 50, 50));
    SendMessageW(canvas(), WM_COMMAND, kCommandZoomIn, 0);
    EXPECT_EQ(hand, CursorAt(canvas(), 300, 300));
    EXPECT_EQ(arrow, CursorAt(canvas(), 50, 50));
    EXPECT_EQ(hand, CursorAt(canvas(), 94, 50));
}

TEST_F(CanvasMouse, PlainRightClickFitsAndAnyOtherKeyStopsIt) {
    SendMessageW(canvas(), WM_COMMAND, kCommandZoomIn, 0);
    for (WPARAM keys : {MK_RBUTTON | MK_CONTROL, MK_RBUTTON | MK_SHIFT, MK_RBUTTON | MK_LBUTTON}) {
        SendMessageW(canvas(), WM_RBUTTONDOWN, keys, MAKELPARAM(300, 300));
        EXPECT_EQ(0, g_canvas_view.fit_mode) << keys;
    }
    SendMessageW(canvas(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 300));
    EXPECT_EQ(1, g_canvas_view.fit_mode);
    EXPECT_EQ(100, g_canvas_view.picture.left);
}

// Each button has a tooltip whose tool follows a drag of the panel, and a label that fits it.
TEST_F(CanvasMouse, ButtonsHaveTipsThatFollowThePanelAndLabelsThatFit) {
    HWND tips = CanvasWindowOf(canvas())->tips;
    ASSERT_NE(nullptr, tips);
    EXPECT_EQ(kButtonCount, SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
    Press(canvas(), 50, 15);
    MoveTo(canvas(), 150, 115);
    Release(canvas(), 150, 115);
    wchar_t text[80] = L"";
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = canvas();
    tool.uId = 4;
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(
        (std::vector<LONG>{110, 192, 194, 210}),
        (std::vector<LONG>{tool.rect.left, tool.rect.top, tool.rect.right, tool.rect.bottom}));
    EXPECT_STREQ(L"Choose the picture's background colour", text);

    HDC screen = GetDC(canvas());
    HFONT font = CreatePanelFont(screen);
    ASSERT_NE(nullptr, font);
    HGDIOBJ previous = SelectObject(screen, font);
    for (const CanvasButton& button : g_canvas_view.buttons) {
        const wchar_t* label = reinterpret_cast<const wchar_t*>(button.label);
        SIZE extent = {};
        GetTextExtentPoint32W(screen, label, lstrlenW(label), &extent);
        EXPECT_LE(extent.cx, kPanelWidth - 8) << extent.cx;
        EXPECT_GT(extent.cy, 10);
    }
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(canvas(), screen);
}

}  // namespace
