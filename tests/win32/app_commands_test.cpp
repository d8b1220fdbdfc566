// The main window's commands and the record navigation: Open, the record-index field, the
// navigation keys, the background colour and the About box.
#include "tests/win32/app_window_fixture.h"

namespace {

using AppCommandsTest = AppWindowTest;

// The share of the picture's pixels, a margin of 2 left out, that have `color` after a repaint.
double PictureShare(HWND canvas, COLORREF color) {
    RedrawWindow(canvas, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const CanvasRect& p = g_canvas_view.picture;
    const RECT inside = {p.left + 2, p.top + 2, p.right - 2, p.bottom - 2};
    const int area = (inside.right - inside.left) * (inside.bottom - inside.top);
    return static_cast<double>(ClientPixels(canvas).Count(inside, AsPixel(color))) / area;
}

TEST_F(AppCommandsTest, OpenShowsTheLastRecordInThePictureView) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    EXPECT_EQ(g_seam_log.open_calls, 1);  // posted at creation
    const std::string path = WriteLongPicture(120, "open-120.emf");
    ClickTab(2);
    Open(path);
    EXPECT_EQ(g_current_record, 119);
    EXPECT_EQ(TextOf(IDC_RECORDINDEX), L"119");
    EXPECT_EQ(TextOf(IDC_CALLTEXT), CallPaneTextOf(119));
    EXPECT_EQ(TextOf(IDC_CALLTEXT).rfind(L"EMR_EOF(", 0), 0u);
    EXPECT_EQ(g_view_mode, 0);
    EXPECT_EQ(SendMessageW(Child(IDC_MODESWITCHER), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(g_report_state, -1);
    EXPECT_EQ(TextOf(main_), Wide(path) + L" - Orvella");
    EXPECT_EQ(SendMessageW(Child(IDC_CANVAS), CVM_GETINDEX, 0, 0), 119);
    // The file dialog starts in the samples folder beside the program.
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    EXPECT_EQ(g_seam_log.open_initial_dir, folder + L"samples");
}

TEST_F(AppCommandsTest, TypedNumbersMoveToTheRecordOrBeep) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    // Before any file, every number beeps and no key acts.
    TypeIndex(L"0");
    EXPECT_EQ(g_seam_log.beeps, 1);
    for (WPARAM key : {VK_HOME, VK_END, VK_RIGHT, VK_NEXT}) {
        Key(key);
    }
    EXPECT_EQ(TextOf(IDC_CALLTEXT), L"");
    EXPECT_EQ(TextOf(main_), L"Orvella");
    g_seam_log.beeps = 0;

    Open(WriteLongPicture(120, "typed-120.emf"));
    TypeIndex(L"0");
    EXPECT_EQ(g_current_record, 0);
    EXPECT_EQ(TextOf(IDC_CALLTEXT), CallPaneTextOf(0));
    EXPECT_EQ(g_seam_log.beeps, 0);

    TypeIndex(L"120");
    EXPECT_EQ(g_seam_log.beeps, 1);
    EXPECT_EQ(g_current_record, 0);
    EXPECT_EQ(TextOf(IDC_RECORDINDEX), L"120");
    EXPECT_EQ(TextOf(IDC_CALLTEXT), CallPaneTextOf(0));

    TypeIndex(L"119");
    EXPECT_EQ(g_current_record, 119);
    EXPECT_EQ(TextOf(IDC_CALLTEXT), CallPaneTextOf(119));

    // An empty field is no number: nothing happens.
    TypeIndex(L"");
    EXPECT_EQ(g_current_record, 119);
    EXPECT_EQ(g_seam_log.beeps, 1);
    EXPECT_EQ(SendMessageW(Child(IDC_CANVAS), CVM_GETINDEX, 0, 0), 119);
}

TEST_F(AppCommandsTest, NavigationKeysMoveTheCurrentRecord) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    SKIP_WITHOUT_CANVAS();
    Open(WriteLongPicture(100, "keys-100.emf"));
    // Space is no navigation key.
    const std::pair<WPARAM, int32_t> steps[] = {
        {VK_HOME, 0}, {VK_RIGHT, 1}, {VK_DOWN, 2}, {VK_UP, 1},     {VK_LEFT, 0},
        {VK_NEXT, 5}, {VK_PRIOR, 0}, {VK_END, 99}, {VK_SPACE, 99}, {VK_LEFT, 98}};
    for (const auto& [key, record] : steps) {
        Key(key);
        EXPECT_EQ(g_current_record, record) << key;
        EXPECT_EQ(TextOf(IDC_RECORDINDEX), std::to_wstring(record));
        EXPECT_EQ(TextOf(IDC_CALLTEXT), CallPaneTextOf(record));
    }
}

TEST_F(AppCommandsTest, BackgroundColourCancelKeepsAndConfirmRepaints) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteQuadrantPicture());
    g_seam_log.custom_color_to_set = RGB(1, 2, 3);
    ValidateRect(main_, nullptr);
    SendMessageW(main_, WM_COMMAND, IDM_BACKGROUND, 0);
    EXPECT_EQ(g_seam_log.color_calls, 1);
    EXPECT_EQ(g_seam_log.last_color_dialog.rgbResult, kInitialBackground);
    EXPECT_EQ(g_seam_log.last_color_dialog.hwndOwner, main_);
    EXPECT_EQ(g_canvas_view.background_color, kInitialBackground);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(main_, &update, FALSE));

    // The custom colours the user made in the cancelled dialog are there the next time.
    g_seam_log.custom_color_to_set = 0;
    g_seam_log.color_confirmed = true;
    g_seam_log.color = RGB(0, 128, 0);
    TypeIndex(L"0");
    SendMessageW(main_, WM_COMMAND, IDM_BACKGROUND, 0);
    EXPECT_EQ(g_seam_log.custom_color_seen, RGB(1, 2, 3));
    EXPECT_EQ(g_canvas_view.background_color, RGB(0, 128, 0));
    EXPECT_TRUE(GetUpdateRect(main_, &update, FALSE));
    Pump();
    EXPECT_EQ(PictureShare(Child(IDC_CANVAS), RGB(0, 128, 0)), 1.0);
}

// The call pane holds the current record's verbose call text, lines and parameter blocks
// included, whatever the verbose flag the call list and the filter list leave; it leaves the
// flag as it was, and a double-click in it changes nothing.
TEST_F(AppCommandsTest, TheCallPaneHoldsTheVerboseCallText) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(SamplesDir() + "/text.emf");
    ASSERT_EQ(CallTextOf(9).rfind(L"ExtTextOutW(", 0), 0u);
    for (int verbose : {0, 1}) {
        SetVerboseFlag(verbose);
        for (int32_t record : {9, 5}) {
            TypeIndex(std::to_wstring(record).c_str());
            EXPECT_EQ(TextOf(IDC_CALLTEXT), CallPaneTextOf(record));
            EXPECT_EQ(VerboseFlag(), verbose);
        }
    }
    EXPECT_NE(TextOf(IDC_CALLTEXT).find(L"\r\n\t  lf.lfHeight = "), std::wstring::npos);
    TypeIndex(L"9");
    EXPECT_NE(TextOf(IDC_CALLTEXT).find(L"\r\n\t  lpDx[0] = "), std::wstring::npos);
    SendMessageW(Child(IDC_CALLTEXT), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 5));
    Pump();
    EXPECT_EQ(g_current_record, 9);
    EXPECT_EQ(g_view_mode, 0);
}

TEST_F(AppCommandsTest, FailedOpenKeepsThePreviousFile) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    const std::string good = WriteLongPicture(10, "kept.emf");
    Open(good);
    TypeIndex(L"3");
    const std::wstring title = TextOf(main_);
    const std::wstring call = TextOf(IDC_CALLTEXT);
    // A text file, an empty file and a path of 259 units are refused, each with a message box
    // that names the file and says why.
    const std::string refused[] = {
        WriteTempFile("not-a-metafile.emf", std::vector<uint8_t>(200, 0x41)),
        WriteTempFile("empty.emf", {}), std::string(259 - 4, 'x') + ".emf"};
    for (const std::string& path : refused) {
        Open(path);
    }
    EXPECT_EQ(g_seam_log.open_calls, 5);
    ASSERT_EQ(g_seam_log.box_texts.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const std::wstring& box = g_seam_log.box_texts[i];
        const std::wstring opening = L"Orvella cannot open \"" + Wide(refused[i]) + L"\":\r\n\r\n";
        EXPECT_EQ(box.rfind(opening, 0), 0u) << box;
        EXPECT_GT(box.size(), opening.size() + 1);
        EXPECT_EQ(box.back(), L'.');
    }
    EXPECT_EQ(g_seam_log.box_caption, L"Orvella");
    EXPECT_EQ(g_seam_log.box_type, static_cast<UINT>(MB_ICONERROR | MB_OK));
    EXPECT_TRUE(g_document.IsLoaded());
    EXPECT_EQ(TextOf(main_), title);
    EXPECT_EQ(TextOf(IDC_RECORDINDEX), L"3");
    EXPECT_EQ(TextOf(IDC_CALLTEXT), call);
    EXPECT_EQ(g_current_record, 3);
    EXPECT_EQ(std::u16string(g_document.Path()), ToU16(good));
}

TEST_F(AppCommandsTest, EnterAndEscapeInTheIndexFieldGiveTheFocusToTheMainWindow) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    SetForegroundWindow(main_);
    HWND field = Child(IDC_RECORDINDEX);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        SetFocus(field);
        ASSERT_EQ(GetFocus(), field);
        SendMessageW(field, WM_KEYDOWN, key, 0);
        EXPECT_EQ(GetFocus(), main_);
    }
    // Other keys reach the field as usual.
    SetFocus(field);
    SendMessageW(field, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(GetFocus(), field);
}

// A second press of Open or Back Ground arrives inside the first one's dialog: it is ignored.
int g_nested_dialogs = 0;

BOOL WINAPI OpenPressedAgain(LPOPENFILENAMEW dialog) {
    ++g_nested_dialogs;
    SendMessageW(dialog->hwndOwner, WM_COMMAND, IDM_OPEN, 0);
    return FALSE;
}

BOOL WINAPI BackgroundPressedAgain(LPCHOOSECOLORW dialog) {
    ++g_nested_dialogs;
    SendMessageW(dialog->hwndOwner, WM_COMMAND, IDM_BACKGROUND, 0);
    return FALSE;
}

TEST_F(AppCommandsTest, ACommandIgnoresASecondStartWhileItsDialogIsUp) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    g_platform.get_open_file_name = OpenPressedAgain;
    g_platform.choose_color = BackgroundPressedAgain;
    for (UINT command : {IDM_OPEN, IDM_BACKGROUND, IDM_OPEN}) {
        g_nested_dialogs = 0;
        SendMessageW(main_, WM_COMMAND, command, 0);
        EXPECT_EQ(g_nested_dialogs, 1) << command;
    }
}

// After a click in the call-text field, a click on the picture gives the focus to the canvas,
// and the navigation keys step through the records again.
TEST_F(AppCommandsTest, AClickOnThePictureBringsTheNavigationKeysBack) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    SKIP_WITHOUT_CANVAS();
    Open(WriteLongPicture(10, "focus-10.emf"));
    SetForegroundWindow(main_);
    HWND canvas = Child(IDC_CANVAS);
    SetFocus(Child(IDC_CALLTEXT));
    ASSERT_EQ(g_canvas_view.fit_mode, 1);
    const CanvasRect& picture = g_canvas_view.picture;
    const int x = (picture.left + picture.right) / 2;
    const int y = (picture.top + picture.bottom) / 2;
    ASSERT_EQ(HitTestPanel(g_canvas_view, x, y), kHitOutsidePanel);
    SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    EXPECT_EQ(GetFocus(), canvas);
    for (const auto& [key, record] : {std::pair{VK_HOME, 0}, std::pair{VK_RIGHT, 1}}) {
        SendMessageW(GetFocus(), WM_KEYDOWN, key, 0);
        Pump();
        EXPECT_EQ(g_current_record, record);
    }
}

// Answers the About box as soon as it is up: with its OK button, Escape or its close box.
int g_about_answer = 0;
std::wstring g_about_text;

VOID CALLBACK AnswerAboutBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND about = FindWindowW(L"#32770", L"About");
    if (about == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    wchar_t text[64] = L"";
    GetDlgItemTextW(about, IDC_ABOUT_TEXT, text, 64);
    g_about_text = text;
    const struct {
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
    } answers[] = {{WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK))},
                   {WM_COMMAND, IDCANCEL, 0},
                   {WM_SYSCOMMAND, SC_CLOSE, 0}};
    const auto& answer = answers[g_about_answer];
    SendMessageW(about, answer.message, answer.wparam, answer.lparam);
}

TEST_F(AppCommandsTest, AboutBoxShowsTheVersionAndClosesEveryWay) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    for (int answer = 0; answer < 3; ++answer) {
        SCOPED_TRACE(answer);
        g_about_answer = answer;
        g_about_text.clear();
        SetTimer(nullptr, 0, 20, AnswerAboutBox);
        SendMessageW(main_, WM_COMMAND, IDM_ABOUT, 0);
        EXPECT_EQ(g_about_text, L"Orvella (0.1.0)");
        EXPECT_EQ(FindWindowW(L"#32770", L"About"), nullptr);
        EXPECT_TRUE(IsWindowEnabled(main_));
    }
}

}  // namespace
