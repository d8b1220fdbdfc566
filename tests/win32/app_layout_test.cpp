// The main window's children: their order, their fonts and their layout.
#include <vector>

#include "app/child_controls.h"
#include "tests/win32/app_window_fixture.h"
#include "textview/text_view_win.h"

namespace {

using AppLayoutTest = SharedAppWindowTest;

// A child's rectangle in the main window's client coordinates.
RECT ChildRect(HWND main_window, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(HWND main_window, HWND child, int x, int y, int width, int height) {
    ASSERT_NE(child, nullptr);
    const RECT rect = ChildRect(main_window, child);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

TEST_F(AppLayoutTest, ChildrenComeInTheirOrderWithTheirFonts) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    std::vector<int> ids;
    for (HWND child = GetWindow(main_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ids.push_back(GetDlgCtrlID(child));
    }
    // In creation order, but the tab control, which lies below the others.
    std::vector<int> expected = {IDC_CANVAS,     IDC_RECORDINDEX, IDC_CALLTEXT,    IDC_REPORT,
                                 IDC_FILTERLIST, IDC_STATUSBAR,   IDC_MODESWITCHER};
    EXPECT_EQ(ids, expected);

    EXPECT_EQ(SendMessageW(Child(IDC_MODESWITCHER), TCM_GETITEMCOUNT, 0, 0), 7);

    HWND index = Child(IDC_RECORDINDEX);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(index, WM_GETFONT, 0, 0)), g_shared_font);
    ASSERT_NE(g_shared_font, nullptr);

    // The call pane and the report control are text views, the report control hidden until a
    // text view is chosen.
    HWND report = Child(IDC_REPORT);
    ASSERT_NE(report, nullptr);
    for (HWND view : {Child(IDC_CALLTEXT), report}) {
        wchar_t name[64] = L"";
        GetClassNameW(view, name, 64);
        EXPECT_STREQ(name, kTextViewClassName);
    }
    EXPECT_FALSE(IsWindowVisible(report));
    EXPECT_TRUE(IsWindowVisible(index));
}

int StatusBarHeight(HWND main_window) {
    RECT bar;
    GetWindowRect(GetDlgItem(main_window, IDC_STATUSBAR), &bar);
    return bar.bottom - bar.top;
}

// The status bar at the bottom, the tabs and views above it; in "The EMF" the canvas over the
// record-index field and, beside it, the call pane of five lines.
TEST_F(AppLayoutTest, ClientAreaOf800By600GivesTheExampleRectangles) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    RECT client;
    GetClientRect(main_, &client);
    ASSERT_EQ(client.right, 800);
    ASSERT_EQ(client.bottom, 600);
    const int c = GetSystemMetrics(SM_CYHSCROLL);
    const int s = StatusBarHeight(main_);
    ASSERT_GT(s, 0);
    const int above = 600 - s;
    ExpectRect(main_, Child(IDC_STATUSBAR), 0, above, 800, s);
    ExpectRect(main_, Child(IDC_REPORT), 12, 12, 776, above - 45);
    ExpectRect(main_, Child(IDC_MODESWITCHER), 0, 0, 800, above);
    const int pane = 5 * SharedFontLineHeight() + 8;
    const int canvas_height = above - 45 - pane - kPaneGap;
    const int pane_top = 12 + canvas_height + kPaneGap;
    ExpectRect(main_, Child(IDC_CANVAS), 12, 12, 776, canvas_height);
    ExpectRect(main_, Child(IDC_RECORDINDEX), 12, pane_top, 54, c + 3);
    ExpectRect(main_, Child(IDC_CALLTEXT), 66, pane_top, 722, pane);
    ExpectRect(main_, Child(IDC_FILTERLIST), 12, 12, 776, above - 45);
}

TEST_F(AppLayoutTest, ClientAreaFortyPixelsHighKeepsHeightsAtOne) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    LayOutChildren(main_, 300, 40);
    const int c = GetSystemMetrics(SM_CYHSCROLL);
    const int two_lines = 2 * SharedFontLineHeight() + 8;
    ExpectRect(main_, Child(IDC_REPORT), 12, 12, 276, 1);
    ExpectRect(main_, Child(IDC_CANVAS), 12, 12, 276, 1);
    ExpectRect(main_, Child(IDC_RECORDINDEX), 12, 13 + kPaneGap, 54, c + 3);
    ExpectRect(main_, Child(IDC_CALLTEXT), 66, 13 + kPaneGap, 222, two_lines);
    ExpectRect(main_, Child(IDC_FILTERLIST), 12, 12, 276, 1);
}

// The border between the canvas and the call pane moves with the mouse, within two lines and
// most of the area; the size cursor shows over it.
TEST_F(AppLayoutTest, DraggingThePanesBorderResizesThePaneWithinItsBounds) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    const RECT canvas = ChildRect(main_, Child(IDC_CANVAS));
    const RECT pane = ChildRect(main_, Child(IDC_CALLTEXT));
    const int x = 400;
    const int y = canvas.bottom + 2;
    POINT screen = {x, y};
    ClientToScreen(main_, &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(main_, WM_SETCURSOR, reinterpret_cast<WPARAM>(main_), HTCLIENT);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZENS));
    const auto drag_to = [&](int to) {
        SendMessageW(main_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(main_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, to));
        SendMessageW(main_, WM_LBUTTONUP, 0, MAKELPARAM(x, to));
        Pump();
    };
    drag_to(y - 40);
    EXPECT_EQ(ChildRect(main_, Child(IDC_CALLTEXT)).top, pane.top - 40);
    EXPECT_EQ(ChildRect(main_, Child(IDC_CALLTEXT)).bottom, pane.bottom);
    EXPECT_EQ(ChildRect(main_, Child(IDC_CANVAS)).bottom, canvas.bottom - 40);
    EXPECT_EQ(GetCapture(), nullptr);
    const int y_after = ChildRect(main_, Child(IDC_CANVAS)).bottom + 2;
    SendMessageW(main_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y_after));
    SendMessageW(main_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 599));
    SendMessageW(main_, WM_LBUTTONUP, 0, MAKELPARAM(x, 599));
    const RECT lowest = ChildRect(main_, Child(IDC_CALLTEXT));
    EXPECT_EQ(lowest.bottom - lowest.top, 2 * SharedFontLineHeight() + 8);
    SetCallPaneHeight(main_, 0);
    EXPECT_EQ(ChildRect(main_, Child(IDC_CALLTEXT)).top, pane.top);
}

}  // namespace
