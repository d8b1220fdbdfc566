// The filter list in the main window: one row per drawing record made on demand in one-line
// form, its boxes toggled by a click and by Space and switched by its context menu, the
// records it switches off left out of the picture, and every box checked again by a reload.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/filter_list.h"
#include "tests/win32/app_window_fixture.h"
#include "tests/win32/canvas_test_support.h"

namespace {

using Rows = std::vector<int>;

// Header, a brush (39), its selection (37), a rectangle (43), the selection and the rectangle
// once more, end of file: rows 0 to 4 stand for records 1 to 5.
std::string WriteSevenRecords() {
    const RecordBuilder select = RecordBuilder(37, 12).U32(8, 1);
    const RecordBuilder rectangle =
        RecordBuilder(43, 24).I32(8, 10).I32(12, 10).I32(16, 90).I32(20, 90);
    EmfBuilder picture;
    picture.Handles(2)
        .Add(RecordBuilder(39, 24).U32(8, 1).U32(12, BS_SOLID).U32(16, RGB(0, 128, 0)))
        .Add(select)
        .Add(rectangle)
        .Add(select)
        .Add(rectangle);
    return WriteTempFile("seven.emf", picture.Build());
}

std::wstring OneLineCallText(int32_t record) {
    const int verbose = VerboseFlag();
    SetVerboseFlag(0);
    std::wstring text = CallTextOf(record);
    SetVerboseFlag(verbose);
    return text;
}

VOID CALLBACK EndStuckMenu(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

class FilterListTest : public AppWindowTest {
  protected:
    void SetUp() override {
        AppWindowTest::SetUp();
        ASSERT_NE(nullptr, CreateWindowUnderTest());
        list_ = Child(IDC_FILTERLIST);
        ASSERT_NE(nullptr, list_);
        Open(WriteSevenRecords());
        ClickTab(4);
    }

    int RowCount() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring RowText(int row, int column) const {
        wchar_t buffer[kCallTextUnits] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = static_cast<int>(kCallTextUnits);
        SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    // The rows whose boxes the list shows cleared; each must also be a record left unplayed.
    Rows ClearedRows() const {
        Rows cleared;
        for (int row = 0; row < RowCount(); ++row) {
            const bool checked = ListView_GetCheckState(list_, row) != 0;
            EXPECT_EQ(checked ? 1 : 0, IsRecordPlayed(static_cast<uint32_t>(row) + 1)) << row;
            if (!checked) {
                cleared.push_back(row);
            }
        }
        return cleared;
    }

    POINT Inside(int row, int dx) const {
        RECT bounds = {};
        bounds.left = LVIR_BOUNDS;
        SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&bounds));
        return {bounds.left + dx, (bounds.top + bounds.bottom) / 2};
    }

    // A click on the row's box, found by the list's own hit test, or on the row's call text.
    void Click(int row, bool on_box) {
        POINT at = Inside(row, 300);
        for (int dx = 0; on_box && dx < 60; ++dx) {
            LVHITTESTINFO hit = {};
            hit.pt = Inside(row, dx);
            SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if ((hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON) {
                at = hit.pt;
                break;
            }
        }
        SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(list_, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        Pump();
    }

    void Select(std::initializer_list<int> rows, int focused) {
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows) {
            ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
        }
        ListView_SetItemState(list_, focused, LVIS_FOCUSED, LVIS_FOCUSED);
    }

    void Space() {
        SetFocus(list_);
        SendMessageW(list_, WM_KEYDOWN, VK_SPACE, 0);
        SendMessageW(list_, WM_KEYUP, VK_SPACE, 0);
        Pump();
    }

    // Opens the context menu over `row` (-1: as the platform asks for it from the keyboard,
    // about the focused row) and picks its `item`th command with the arrow keys, as a user may.
    void PickFromMenu(int row, int item) {
        LPARAM at = -1;
        if (row >= 0) {
            POINT point = Inside(row, 300);
            ClientToScreen(list_, &point);
            at = MAKELPARAM(point.x, point.y);
        }
        for (int i = 0; i < item; ++i) {
            PostMessageW(list_, WM_KEYDOWN, VK_DOWN, 0);
        }
        PostMessageW(list_, WM_KEYDOWN, VK_RETURN, 0);
        const UINT_PTR timer = SetTimer(nullptr, 0, 5000, EndStuckMenu);
        SendMessageW(list_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_), at);
        KillTimer(nullptr, timer);
        Pump();
    }

    void Repaint() {
        InvalidateRect(Child(IDC_CANVAS), nullptr, FALSE);
        UpdateWindow(Child(IDC_CANVAS));
    }

    HWND list_ = nullptr;
};

TEST_F(FilterListTest, IsAnOwnerDataListOfOneLineRows) {
    const LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
    EXPECT_EQ(LVS_REPORT, style & LVS_TYPEMASK);
    EXPECT_TRUE(style & LVS_OWNERDATA);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);
    EXPECT_EQ(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
              SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
                  (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT));
    const struct {
        const wchar_t* name;
        int width;
    } kColumns[] = {{L"Number", 64}, {L"API Call", 600}};
    for (int i = 0; i < 2; ++i) {
        wchar_t name[32] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = name;
        column.cchTextMax = 32;
        ASSERT_TRUE(SendMessageW(list_, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(std::wstring(kColumns[i].name), name);
        EXPECT_EQ(kColumns[i].width, column.cx);
    }
    // The "GDI calls" view's verbose flag neither shows in the rows nor is changed by them.
    SetVerboseFlag(1);
    ASSERT_EQ(5, RowCount());
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(std::to_wstring(row + 1), RowText(row, 0));
        EXPECT_EQ(OneLineCallText(row + 1), RowText(row, 1));
    }
    EXPECT_EQ(1, VerboseFlag());
    EXPECT_EQ(0u, RowText(0, 1).find(L"CreateBrushIndirect("));
    EXPECT_EQ(std::wstring::npos, RowText(0, 1).find(L'\n'));
    EXPECT_EQ(Rows{}, ClearedRows());
    EXPECT_EQ(0, AnyRecordUnchecked());
    EXPECT_EQ(1, IsRecordPlayed(0));
    EXPECT_EQ(1, IsRecordPlayed(6));
    EXPECT_EQ(0, IsRecordPlayed(7));
}

TEST_F(FilterListTest, ClickOnTheBoxAndSpaceToggleTheSelectedRowsTogether) {
    Click(1, true);
    EXPECT_EQ(Rows{1}, ClearedRows());
    EXPECT_EQ(1, AnyRecordUnchecked());
    Click(1, false);
    EXPECT_EQ(Rows{1}, ClearedRows());
    Click(1, true);
    EXPECT_EQ(Rows{}, ClearedRows());
    EXPECT_EQ(0, AnyRecordUnchecked());

    Select({0, 3}, 3);
    Space();
    EXPECT_EQ((Rows{0, 3}), ClearedRows());
    Space();
    EXPECT_EQ(Rows{}, ClearedRows());
    EXPECT_EQ(2u, SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0));
    // The focused row's new state is every selected row's.
    Select({3}, 3);
    Space();
    Select({0, 3, 4}, 0);
    Space();
    EXPECT_EQ((Rows{0, 3, 4}), ClearedRows());
    Click(4, true);
    EXPECT_EQ(Rows{}, ClearedRows());
}

TEST_F(FilterListTest, ContextMenuChecksClearsAndSwitchesWholeTypes) {
    enum { kCheckAll = 0, kClearAll = 1, kOffType = 2, kOnType = 3 };
    const struct {
        int row;
        int item;
        Rows cleared;
    } kSteps[] = {
        {1, kOffType, {1, 3}},            // the selections
        {2, kOffType, {1, 2, 3, 4}},      // and the rectangles
        {3, kOnType, {2, 4}},             // the selections back
        {0, kCheckAll, {}},               //
        {4, kClearAll, {0, 1, 2, 3, 4}},  //
        {-1, kOnType, {0, 1, 3}},         // from the keyboard, about focused row 4
    };
    Select({4}, 4);
    for (const auto& step : kSteps) {
        PickFromMenu(step.row, step.item + 1);
        EXPECT_EQ(step.cleared, ClearedRows()) << "row " << step.row << ", item " << step.item;
    }
}

TEST_F(FilterListTest, SwitchedOffRecordIsNotPlayedUntilAReload) {
    Select({2}, 2);
    Space();
    ClickTab(0);
    PlaybackLog log;
    Repaint();
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 4, 5, 6}), log.played());

    Open(WriteSevenRecords());
    EXPECT_EQ(Rows{}, ClearedRows());
    EXPECT_EQ(0, AnyRecordUnchecked());
    log.Clear();
    Repaint();
    EXPECT_EQ(std::vector<int32_t>{-1}, log.played());

    Open(WriteTempFile("two.emf", EmfBuilder().Build()));
    EXPECT_EQ(0, RowCount());
    EXPECT_EQ(1, IsRecordPlayed(1));
    EXPECT_EQ(0, IsRecordPlayed(2));
}

TEST_F(FilterListTest, WithoutTheListOnlyHeaderAndLastRecordArePlayed) {
    DestroyWindow(list_);
    EXPECT_EQ(1, IsRecordPlayed(0));
    EXPECT_EQ(0, IsRecordPlayed(2));
    EXPECT_EQ(1, IsRecordPlayed(6));
    EXPECT_EQ(0, AnyRecordUnchecked());
}

}  // namespace
