// The keyboard and the menu: the views by command, Tab round the parts of "The EMF", the Edit
// commands sent to a text view, and the items that cannot act greyed.
#include "app/keyboard.h"
#include "app/navigation.h"
#include "canvas/canvas_messages.h"
#include "canvas/canvas_view.h"
#include "tests/support/emfplus_builder.h"
#include "tests/win32/app_window_fixture.h"
#include "textview/text_view_win.h"

namespace {

using AppKeyboardTest = SharedAppWindowTest;

void SetKeyDown(int key, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

bool Tab(HWND main_window, bool shift) {
    SetKeyDown(VK_SHIFT, shift);
    const MSG message = {GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    const bool taken = MoveFocusOnTab(main_window, message);
    SetKeyDown(VK_SHIFT, false);
    return taken;
}

bool Greyed(HMENU menu, UINT command) {
    return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

TEST_F(AppKeyboardTest, ViewCommandsSwitchViewsAndWrapRound) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteLongPicture(5, "views-5.emf"));
    const std::pair<UINT, int32_t> steps[] = {{IDM_PREVIOUSVIEW, 6},
                                              {IDM_NEXTVIEW, 0},
                                              {IDM_NEXTVIEW, 1},
                                              {IDM_VIEW_FIRST + 4, 4},
                                              {IDM_VIEW_FIRST, 0}};
    for (const auto& [command, view] : steps) {
        SendMessageW(main_, WM_COMMAND, command, 0);
        EXPECT_EQ(g_view_mode, view) << command;
        EXPECT_EQ(SendMessageW(Child(IDC_MODESWITCHER), TCM_GETCURSEL, 0, 0), view);
    }
}

TEST_F(AppKeyboardTest, TabGoesRoundThePictureTheCallPaneAndTheIndexField) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteLongPicture(5, "tab-5.emf"));
    SetForegroundWindow(main_);
    SetFocus(main_);
    for (int id : {IDC_CALLTEXT, IDC_RECORDINDEX, IDC_CANVAS, IDC_CALLTEXT}) {
        EXPECT_TRUE(Tab(main_, false));
        EXPECT_EQ(GetFocus(), Child(id));
    }
    for (int id : {IDC_CANVAS, IDC_RECORDINDEX}) {
        EXPECT_TRUE(Tab(main_, true));
        EXPECT_EQ(GetFocus(), Child(id));
    }
    // In a report the text view keeps its Tab.
    ClickTab(2);
    EXPECT_FALSE(Tab(main_, false));
}

TEST_F(AppKeyboardTest, EditCommandsActInTheShownReportAndIdleItemsAreGreyed) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    HMENU menu = GetMenu(main_);
    SendMessageW(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    for (UINT command : {IDM_SAVEPICTURE, IDM_COPYPICTURE, IDM_ZOOMIN, IDM_ACTUALSIZE, IDM_COPY,
                         IDM_SELECTALL, IDM_FIND}) {
        EXPECT_TRUE(Greyed(menu, command)) << command;
    }
    Open(WriteLongPicture(5, "edit-5.emf"));
    SendMessageW(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_FALSE(Greyed(menu, IDM_SAVEPICTURE));
    EXPECT_FALSE(Greyed(menu, IDM_ZOOMIN));
    EXPECT_TRUE(Greyed(menu, IDM_COPY));
    EXPECT_EQ(EditTarget(main_), nullptr);
    const auto LastStatusPart = [&] {
        wchar_t text[256] = L"";
        SendMessageW(Child(IDC_STATUSBAR), SB_GETTEXTW, 5, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    // O, from the picture, shows the overlay, and its menu item is checked.
    SendMessageW(Child(IDC_CANVAS), WM_KEYDOWN, 'O', 0);
    SendMessageW(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_EQ(MF_CHECKED, GetMenuState(menu, IDM_SHOWOVERLAY, MF_BYCOMMAND) & MF_CHECKED);
    SendMessageW(main_, WM_COMMAND, IDM_SHOWOVERLAY, 0);
    EXPECT_FALSE(g_canvas_view.show_overlay);
    // D shows what the record drew, and the status bar counts it; D again ends it.
    SendMessageW(Child(IDC_CANVAS), WM_KEYDOWN, 'D', 0);
    UpdateWindow(Child(IDC_CANVAS));
    EXPECT_TRUE(g_canvas_view.show_drawn);
    EXPECT_NE(LastStatusPart().find(L"This record changed"), std::wstring::npos);
    SendMessageW(Child(IDC_CANVAS), WM_KEYDOWN, 'D', 0);
    EXPECT_FALSE(g_canvas_view.show_drawn);
    EXPECT_EQ(LastStatusPart().find(L"This record"), std::wstring::npos);

    ClickTab(2);
    SendMessageW(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_FALSE(Greyed(menu, IDM_COPY));
    EXPECT_FALSE(Greyed(menu, IDM_FIND));
    HWND report = Child(IDC_REPORT);
    EXPECT_EQ(EditTarget(main_), report);
    SendMessageW(main_, WM_COMMAND, IDM_SELECTALL, 0);
    TextPos anchor = {}, caret = {};
    ASSERT_TRUE(GetTextViewSelection(report, &anchor, &caret));
    EXPECT_EQ(anchor.line, 0);
    EXPECT_GT(caret.line, 0);
}

// Where GDI+ draws, Ctrl+Right and Ctrl+Left step the EMF+ records of the comments: the status
// bar shows R.K and the renderer, the call pane the EMF+ record's line; an EMF+ line chosen in
// the EMF+ view plays up to it; with GDI they step records, and the menu shows the renderer.
TEST_F(AppKeyboardTest, ControlArrowsStepEmfPlusRecordsWhereGdiPlusDraws) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    const auto header = Plus(0x4001, 0, Data().U32(0xDBC01002).U32(1).U32(96).U32(96));
    const auto fill = [](uint32_t color) {
        return Plus(0x400A, 0x8000, Data().U32(color).U32(1).F32(1).F32(1).F32(5).F32(5));
    };
    Open(WriteTempFile("substeps.emf",
                       EmfBuilder()
                           .Add(PlusComment({header, fill(0xFFFF0000), fill(0xFF00FF00)}))
                           .Add(FieldRecord(18, {1}))
                           .Add(PlusComment({fill(0xFF0000FF), Plus(0x4002, 0)}))
                           .Build()));
    const auto part = [&](int index) {
        wchar_t text[256] = L"";
        SendMessageW(Child(IDC_STATUSBAR), SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    const auto control = [&](WPARAM key) {
        SetKeyDown(VK_CONTROL, true);
        Key(key);
        SetKeyDown(VK_CONTROL, false);
    };
    Key(VK_HOME);
    control(VK_RIGHT);
    EXPECT_EQ(part(0), L"Record 1 of 5");
    Key(VK_HOME);
    SendMessageW(main_, WM_COMMAND, IDM_RENDERGDIPLUS, 0);
    HMENU menu = GetMenu(main_);
    SendMessageW(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_EQ(MF_CHECKED, GetMenuState(menu, IDM_RENDERGDIPLUS, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(Greyed(menu, IDM_SHOWDIFFERENCES));
    EXPECT_EQ(part(2), L"GDI+");
    for (const wchar_t* expected :
         {L"Record 1.0 of 5", L"Record 1.1 of 5", L"Record 1.2 of 5", L"Record 3.0 of 5"}) {
        control(VK_RIGHT);
        EXPECT_EQ(part(0), expected);
    }
    EXPECT_NE(TextOf(IDC_CALLTEXT).find(L"3.0\tEmfPlusFillRects"), std::wstring::npos)
        << TextOf(IDC_CALLTEXT);
    EXPECT_EQ(g_current_place, 0);
    control(VK_LEFT);
    EXPECT_EQ(part(0), L"Record 1.2 of 5");
    // A plain step leaves the EMF+ records.
    Key(VK_RIGHT);
    EXPECT_EQ(part(0), L"Record 2 of 5");
    EXPECT_EQ(g_current_place, -1);
    // An EMF+ line chosen in the EMF+ view.
    ClickTab(5);
    TextViewGoTo go_to = {};
    go_to.header.hwndFrom = Child(IDC_REPORT);
    go_to.header.idFrom = IDC_REPORT;
    go_to.header.code = kTextViewGoToRecord;
    go_to.record = 1;
    go_to.place = 1;
    SendMessageW(main_, WM_NOTIFY, IDC_REPORT, reinterpret_cast<LPARAM>(&go_to));
    EXPECT_EQ(g_view_mode, 0);
    EXPECT_EQ(part(0), L"Record 1.1 of 5");
    EXPECT_EQ(SendMessageW(Child(IDC_CANVAS), CVM_GETPLACE, 0, 0), 1);
    SendMessageW(main_, WM_COMMAND, IDM_RENDERGDI, 0);
    EXPECT_EQ(part(2), L"GDI");
}

}  // namespace
