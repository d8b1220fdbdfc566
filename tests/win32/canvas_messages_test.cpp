// The canvas's messages: attaching a document, the record index, the record scroll bar, the
// buttons' commands and the idle refresh of their states.
#include <gtest/gtest.h>

#include <vector>

#include "app/app_globals.h"
#include "canvas/canvas_control_win.h"
#include "tests/win32/canvas_test_support.h"

namespace {

SCROLLINFO ScrollBar(HWND canvas) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    GetScrollInfo(canvas, SB_HORZ, &info);
    return info;
}

void Scroll(HWND canvas, int code, int thumb = 0) {
    SendMessageW(canvas, WM_HSCROLL, MAKEWPARAM(code, thumb), 0);
}

void SendMouse(DWORD flags, int x, int y) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (width - 1);
    input.mi.dy = y * 65535 / (height - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

TEST(CanvasMessages, AttachSetsRangePositionAndFit) {
    CanvasHost host(800, 600);
    ASSERT_TRUE(host.Open(WriteQuadrantPicture()));
    const SCROLLINFO bar = ScrollBar(host.canvas());
    EXPECT_EQ(0, bar.nMin);
    EXPECT_EQ(8, bar.nMax);
    EXPECT_EQ(1u, bar.nPage);
    EXPECT_EQ(8, bar.nPos);
    EXPECT_EQ(8, host.Index());
    EXPECT_EQ(1, g_canvas_view.fit_mode);
    // The square frame fitted into 800 x 600: the whole height, centred across.
    EXPECT_EQ((std::vector<int32_t>{100, 0, 700, 600}), Picture());
    EXPECT_EQ(&g_document, AttachedDocument(host.canvas()));
    EXPECT_EQ(0, BufferedPaintFlag(host.canvas()));
    EXPECT_TRUE(IsWindowEnabled(host.canvas()));
}

TEST(CanvasMessages, SetIndexIsClampedByTheBarAndReadBack) {
    CanvasHost host(400, 300);
    ASSERT_TRUE(host.Open(WriteQuadrantPicture()));
    host.ValidateCanvas();
    SendMessageW(host.canvas(), CVM_SETINDEX, 3, 0);
    EXPECT_EQ(3, host.Index());
    EXPECT_EQ(1, BufferedPaintFlag(host.canvas()));
    EXPECT_TRUE(host.RepaintPending());
    SendMessageW(host.canvas(), CVM_SETINDEX, 1000, 0);
    EXPECT_EQ(8, host.Index());
    SendMessageW(host.canvas(), CVM_SETINDEX, static_cast<WPARAM>(-5), 0);
    EXPECT_EQ(0, host.Index());
    // The parent sent these itself: it is not told about them.
    EXPECT_TRUE(host.notified_indexes().empty());
}

TEST(CanvasMessages, ScrollCodesMoveTheIndexAndNotifyTheParent) {
    CanvasHost host(400, 300);
    ASSERT_TRUE(host.Open(WriteLongPicture(100)));
    EXPECT_EQ(99, host.Index());
    const std::pair<int, int32_t> steps[] = {
        {SB_LEFT, 0},     {SB_LINERIGHT, 1}, {SB_PAGERIGHT, 6}, {SB_PAGELEFT, 1},
        {SB_PAGELEFT, 0}, {SB_RIGHT, 99},    {SB_LINELEFT, 98}, {SB_THUMBTRACK, 40}};
    for (const auto& [code, index] : steps) {
        Scroll(host.canvas(), code, 40);
        EXPECT_EQ(index, host.Index()) << code;
    }
    EXPECT_EQ((std::vector<int32_t>{0, 1, 6, 1, 0, 99, 98, 40}), host.notified_indexes());
    EXPECT_EQ(1, BufferedPaintFlag(host.canvas()));
}

TEST(CanvasMessages, ScrollThatMovesNothingNeitherNotifiesNorRepaints) {
    CanvasHost host(400, 300);
    ASSERT_TRUE(host.Open(WriteLongPicture(100)));
    SendMessageW(host.canvas(), CVM_SETINDEX, 0, 0);
    host.PaintNow();
    ASSERT_EQ(0, BufferedPaintFlag(host.canvas()));
    host.ValidateCanvas();
    for (int code : {SB_LINELEFT, SB_PAGELEFT, SB_LEFT, SB_THUMBPOSITION, SB_ENDSCROLL}) {
        Scroll(host.canvas(), code, 50);
    }
    EXPECT_EQ(0, host.Index());
    EXPECT_TRUE(host.notified_indexes().empty());
    EXPECT_FALSE(host.RepaintPending());
    EXPECT_EQ(0, BufferedPaintFlag(host.canvas()));
}

// A tracking message carries the thumb's position in 16 bits; dragging the thumb of a bar of
// 70,000 records near its right end must land near the end, not back at the start.
TEST(CanvasMessages, DraggedThumbReachesRecordsBeyond65536) {
    CanvasHost host(600, 200);
    ASSERT_TRUE(host.Open(WriteLongPicture(70000)));
    ASSERT_EQ(69999, host.Index());
    host.PaintNow();
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetScrollBarInfo(host.canvas(), OBJID_HSCROLL, &bar));
    const int x = bar.rcScrollBar.left + (bar.xyThumbTop + bar.xyThumbBottom) / 2;
    const int y = (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2;
    SendMouse(0, x, y);
    SendMouse(MOUSEEVENTF_LEFTDOWN, x, y);
    SendMouse(0, x - 10, y);
    SendMouse(0, x - 20, y);
    SendMouse(MOUSEEVENTF_LEFTUP, x - 20, y);
    Pump();
    ASSERT_FALSE(host.notified_indexes().empty());
    for (int32_t index : host.notified_indexes()) {
        EXPECT_GT(index, 65536);
    }
    EXPECT_GT(host.Index(), 65536);
    EXPECT_LT(host.Index(), 69999);
}

TEST(CanvasMessages, ButtonsFollowTheDocumentAtTheNextIdleRefreshOnly) {
    CanvasHost host(400, 300);
    host.IdleRefresh();
    EXPECT_FALSE(host.RepaintPending());

    ASSERT_TRUE(host.Open(WriteQuadrantPicture()));
    EXPECT_EQ(0, IsCommandEnabled(g_canvas_view, kCommandZoomIn));
    host.PaintNow();
    host.ValidateCanvas();
    host.IdleRefresh();
    EXPECT_TRUE(host.RepaintPending());
    EXPECT_EQ(0, BufferedPaintFlag(host.canvas()));
    for (int32_t command : {kCommandFit, kCommandZoomIn, kCommandZoomOut}) {
        EXPECT_EQ(1, IsCommandEnabled(g_canvas_view, command));
    }
    host.ValidateCanvas();
    host.IdleRefresh();
    EXPECT_FALSE(host.RepaintPending());
}

// Zoom and Fit change the view once enabled; a resize refits the picture in fit mode only.
TEST(CanvasMessages, ZoomFitAndResizeChangeTheView) {
    CanvasHost host(800, 600);
    ASSERT_TRUE(host.Open(WriteQuadrantPicture()));
    host.IdleRefresh();
    host.PaintNow();
    SendMessageW(host.canvas(), WM_COMMAND, kCommandZoomIn, 0);
    EXPECT_EQ(0, g_canvas_view.fit_mode);
    EXPECT_EQ((std::vector<int32_t>{40, -60, 760, 660}), Picture());
    EXPECT_EQ(1, BufferedPaintFlag(host.canvas()));
    host.PaintNow();
    EXPECT_EQ(0, BufferedPaintFlag(host.canvas()));

    SendMessageW(host.canvas(), WM_COMMAND, kCommandFit, 0);
    EXPECT_EQ(1, g_canvas_view.fit_mode);
    EXPECT_EQ((std::vector<int32_t>{100, 0, 700, 600}), Picture());
    EXPECT_EQ(1, BufferedPaintFlag(host.canvas()));
    SendMessageW(host.canvas(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 200));
    EXPECT_EQ((std::vector<int32_t>{100, 0, 300, 200}), Picture());
    host.IdleRefresh();
    SendMessageW(host.canvas(), WM_COMMAND, kCommandZoomIn, 0);
    const std::vector<int32_t> zoomed = Picture();
    SendMessageW(host.canvas(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 300));
    EXPECT_EQ(zoomed, Picture());
}

}  // namespace
