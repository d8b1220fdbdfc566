// The filter list in the main window: one row per drawing record made on demand in one-line
// form, its boxes toggled by a click and by Space and switched by its context menu, the
// records it switches off left out of the picture, and every box checked again by a reload.
#include <initializer_list>
#include <vector>

#include "app/filter_list.h"
#include "tests/win32/app_window_fixture.h"

namespace {

using Rows = std::vector<int>;

// Header, a brush (39), its selection (37), a rectangle (43), the selection and the rectangle
// once more, end of file: rows 0 to 4 stand for records 1 to 5.
std::string WriteSevenRecords() {
    const RecordBuilder select = RecordBuilder(37, 12).U32(8, 1);
    const RecordBuilder rectangle = RecordBuilder(43, 24).I32(16, 90).I32(20, 90);
    EmfBuilder picture;
    picture.Handles(2)
        .Add(RecordBuilder(39, 24).U32(8, 1).U32(12, BS_SOLID).U32(16, RGB(0, 128, 0)))
        .Add(select)
        .Add(rectangle)
        .Add(select)
        .Add(rectangle);
    return WriteTempFile("seven.emf", picture.Build());
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
        ListView_GetItemText(list_, row, column, buffer, static_cast<int>(kCallTextUnits));
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
        EXPECT_EQ(cleared.empty() ? 0 : 1, AnyRecordUnchecked());
        return cleared;
    }

    POINT Inside(int row, int dx) const {
        RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
        return {bounds.left + dx, (bounds.top + bounds.bottom) / 2};
    }

    // A click on the row's box, found by the list's own hit test, or on the row's call text.
    void Click(int row, bool on_box) {
        POINT at = Inside(row, 300);
        for (int dx = 0; on_box && dx < 60; ++dx) {
            LVHITTESTINFO hit = {Inside(row, dx), 0, 0, 0, 0};
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

    void Space(std::initializer_list<int> selected, int focused) {
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : selected) {
            ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
        }
        ListView_SetItemState(list_, focused, LVIS_FOCUSED, LVIS_FOCUSED);
        SendMessageW(list_, WM_KEYDOWN, VK_SPACE, 0);
        SendMessageW(list_, WM_KEYUP, VK_SPACE, 0);
        Pump();
    }

    // Opens the context menu over `row` (-1: as the platform asks for it from the keyboard,
    // about the focused row) and picks its `item`th command with the arrow keys, as a user may.
    void PickFromMenu(int row, int item) {
        POINT at = Inside(row, 300);
        ClientToScreen(list_, &at);
        for (int i = 0; i < item; ++i) {
            PostMessageW(list_, WM_KEYDOWN, VK_DOWN, 0);
        }
        PostMessageW(list_, WM_KEYDOWN, VK_RETURN, 0);
        const UINT_PTR timer = SetTimer(nullptr, 0, 5000, EndStuckMenu);
        SendMessageW(list_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_),
                     row < 0 ? -1 : MAKELPARAM(at.x, at.y));
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
    EXPECT_TRUE(GetWindowLongPtrW(list_, GWL_STYLE) & LVS_OWNERDATA);
    // The "GDI calls" view's verbose flag neither shows in the rows nor is changed by them.
    SetVerboseFlag(1);
    ASSERT_EQ(5, RowCount());
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(std::to_wstring(row + 1), RowText(row, 0));
        SetVerboseFlag(0);
        EXPECT_EQ(CallTextOf(row + 1), RowText(row, 1));
        SetVerboseFlag(1);
    }
    EXPECT_EQ(1, VerboseFlag());
    EXPECT_EQ(0u, RowText(0, 1).find(L"CreateBrushIndirect("));
    EXPECT_EQ(std::wstring::npos, RowText(0, 1).find(L'\n'));
    EXPECT_EQ(Rows{}, ClearedRows());
    EXPECT_EQ(1, IsRecordPlayed(6));
    EXPECT_EQ(0, IsRecordPlayed(7));
}

// A click on a box or Space toggles the row, and every selected row with it.
TEST_F(FilterListTest, ClickOnTheBoxAndSpaceToggleTheSelectedRowsTogether) {
    Click(1, true);
    EXPECT_EQ(Rows{1}, ClearedRows());
    Click(1, false);
    EXPECT_EQ(Rows{1}, ClearedRows());
    Click(1, true);
    EXPECT_EQ(Rows{}, ClearedRows());
    Space({0, 3}, 3);
    EXPECT_EQ((Rows{0, 3}), ClearedRows());
    SendMessageW(list_, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(Rows{}, ClearedRows());
    Space({3}, 3);
    Space({0, 3, 4}, 0);  // the focused row's new state is every selected row's
    EXPECT_EQ((Rows{0, 3, 4}), ClearedRows());
    Click(4, true);
    EXPECT_EQ(Rows{}, ClearedRows());
}

TEST_F(FilterListTest, ContextMenuChecksClearsAndSwitchesWholeTypes) {
    enum { kCheckAll = 1, kClearAll, kOffType, kOnType };
    const struct {
        int row;
        int item;
        Rows cleared;
    } kSteps[] = {
        {1, kOffType, {1, 3}},
        {2, kOffType, {1, 2, 3, 4}},
        {3, kOnType, {2, 4}},
        {0, kCheckAll, {}},
        {4, kClearAll, {0, 1, 2, 3, 4}},
        {-1, kOnType, {0, 1, 3}},  // about focused row 4
    };
    ListView_SetItemState(list_, 4, LVIS_FOCUSED, LVIS_FOCUSED);
    for (const auto& step : kSteps) {
        PickFromMenu(step.row, step.item);
        EXPECT_EQ(step.cleared, ClearedRows()) << "row " << step.row << ", item " << step.item;
    }
}

TEST_F(FilterListTest, SwitchedOffRecordIsNotPlayedUntilAReload) {
    // The platform's player plays every record of each paint, so each paint shows the rule.
    SendMessageW(Child(IDC_CANVAS), CVM_SETPLAYER, 0, 0);
    Space({2}, 2);
    ClickTab(0);
    PlaybackLog log;
    Repaint();
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 4, 5, 6}), log.played());
    Open(WriteSevenRecords());
    EXPECT_EQ(Rows{}, ClearedRows());
    log.Clear();
    Repaint();
    EXPECT_EQ(std::vector<int32_t>{-1}, log.played());
    DestroyWindow(list_);  // without the list only the header and the last record are played
    EXPECT_EQ(1, IsRecordPlayed(0));
    EXPECT_EQ(0, IsRecordPlayed(2));
}

// A brief form over two lines shows as one: its line end and tab become one space. The call
// column fills the list's width at every size.
TEST_F(FilterListTest, RowsAreOneLineAndTheCallColumnFillsTheList) {
    EmfBuilder picture;
    picture.Handles(2).Add(RecordBuilder(95, 52).U32(8, 1));
    Open(WriteTempFile("pen.emf", picture.Build()));
    ClickTab(4);
    const std::wstring row = RowText(0, 1);
    EXPECT_EQ(row.find_first_of(L"\r\n\t"), std::wstring::npos) << row;
    EXPECT_NE(row.find(L"lpStyle); // EMREXTCREATEPEN.ihPen = 1"), std::wstring::npos) << row;
    for (int width : {800, 1100, 500}) {
        SendMessageW(main_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, 600));
        RECT client;
        GetClientRect(list_, &client);
        EXPECT_EQ(ListView_GetColumnWidth(list_, 0), 64);
        EXPECT_EQ(ListView_GetColumnWidth(list_, 0) + ListView_GetColumnWidth(list_, 1),
                  client.right)
            << width;
    }
}

}  // namespace
