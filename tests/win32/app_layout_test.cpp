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
    std::vector<int> expected = {IDC_CANVAS, IDC_RECORDINDEX, IDC_CALLTEXT, IDC_REPORT};
    expected.push_back(IDC_FILTERLIST);
    expected.push_back(IDC_MODESWITCHER);
    EXPECT_EQ(ids, expected);

    EXPECT_EQ(SendMessageW(Child(IDC_MODESWITCHER), TCM_GETITEMCOUNT, 0, 0), 6);

    HWND index = Child(IDC_RECORDINDEX);
    // Both fields share one font.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(index, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, reinterpret_cast<HFONT>(SendMessageW(Child(IDC_CALLTEXT), WM_GETFONT, 0, 0)));

    // The report control is the text view, hidden until a text view is chosen.
    HWND report = Child(IDC_REPORT);
    ASSERT_NE(report, nullptr);
    wchar_t name[64] = L"";
    GetClassNameW(report, name, 64);
    EXPECT_STREQ(name, kTextViewClassName);
    EXPECT_FALSE(IsWindowVisible(report));
    EXPECT_TRUE(IsWindowVisible(index));
}

TEST_F(AppLayoutTest, ClientAreaOf800By600GivesTheExampleRectangles) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    RECT client;
    GetClientRect(main_, &client);
    ASSERT_EQ(client.right, 800);
    ASSERT_EQ(client.bottom, 600);
    const int c = GetSystemMetrics(SM_CYHSCROLL);
    ExpectRect(main_, Child(IDC_REPORT), 12, 12, 776, 555);
    ExpectRect(main_, Child(IDC_MODESWITCHER), 0, 0, 800, 600);
    const int canvas_height = 600 - c - 48;
    ExpectRect(main_, Child(IDC_CANVAS), 12, 12, 776, canvas_height);
    ExpectRect(main_, Child(IDC_RECORDINDEX), 12, 12 + canvas_height, 54, c + 3);
    ExpectRect(main_, Child(IDC_CALLTEXT), 66, 12 + canvas_height, 722, c + 3);
    ExpectRect(main_, Child(IDC_FILTERLIST), 12, 12, 776, 555);
}

TEST_F(AppLayoutTest, ClientAreaFortyPixelsHighKeepsHeightsAtOne) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    LayOutChildren(main_, 300, 40);
    const int c = GetSystemMetrics(SM_CYHSCROLL);
    ExpectRect(main_, Child(IDC_REPORT), 12, 12, 276, 1);
    ExpectRect(main_, Child(IDC_CANVAS), 12, 12, 276, 1);
    ExpectRect(main_, Child(IDC_RECORDINDEX), 12, 13, 54, c + 3);
    ExpectRect(main_, Child(IDC_CALLTEXT), 66, 13, 222, c + 3);
    ExpectRect(main_, Child(IDC_FILTERLIST), 12, 12, 276, 1);
}

}  // namespace
