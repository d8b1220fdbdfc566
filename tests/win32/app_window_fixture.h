// A real main window for the window program's tests, with the file dialog, the colour dialog
// and the beep answered by the test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/platform_seams.h"
#include "app/report_views.h"
#include "app/resource.h"
#include "app/view_switch.h"
#include "calls/call_text.h"
#include "tests/support/emf_builder.h"
#include "tests/win32/canvas_test_support.h"
#include "textview/text_view_win.h"

// What the fake dialogs answer and what they were asked.
struct SeamLog {
    // Paths the file dialog answers with, one per call; cancelled when empty.
    std::deque<std::wstring> paths;
    int open_calls = 0;
    std::wstring open_initial_dir;
    // The colour dialog's answer: confirmed with `color`, or cancelled.
    bool color_confirmed = false;
    COLORREF color = 0;
    int color_calls = 0;
    CHOOSECOLORW last_color_dialog = {};
    // Written into custom colour slot 3 by the dialog, when not 0.
    COLORREF custom_color_to_set = 0;
    COLORREF custom_color_seen = 0;
    int beeps = 0;
    // Posts the quit message from the file dialog, to end a message loop under test.
    bool quit_on_open = false;
    // The save dialog's answer: the path, or cancelled when empty.
    std::wstring save_path;
    int save_calls = 0;
    OPENFILENAMEW last_save_dialog = {};
    // The path and the default extension the save dialog was opened with.
    std::wstring save_proposed;
    std::wstring save_extension;
    // Each message box shown: its text, caption and type; it is answered with IDOK.
    std::vector<std::wstring> box_texts;
    std::wstring box_caption;
    UINT box_type = 0;
    HWND box_owner = nullptr;
};

inline SeamLog g_seam_log;

inline BOOL WINAPI FakeGetOpenFileName(LPOPENFILENAMEW dialog) {
    ++g_seam_log.open_calls;
    g_seam_log.open_initial_dir = dialog->lpstrInitialDir ? dialog->lpstrInitialDir : L"";
    if (g_seam_log.quit_on_open) {
        PostQuitMessage(0);
    }
    if (g_seam_log.paths.empty()) {
        return FALSE;
    }
    const std::wstring path = g_seam_log.paths.front();
    g_seam_log.paths.pop_front();
    if (path.size() >= dialog->nMaxFile) {
        return FALSE;
    }
    lstrcpyW(dialog->lpstrFile, path.c_str());
    return TRUE;
}

inline BOOL WINAPI FakeChooseColor(LPCHOOSECOLORW dialog) {
    ++g_seam_log.color_calls;
    g_seam_log.last_color_dialog = *dialog;
    g_seam_log.custom_color_seen = dialog->lpCustColors[3];
    if (g_seam_log.custom_color_to_set != 0) {
        dialog->lpCustColors[3] = g_seam_log.custom_color_to_set;
    }
    if (!g_seam_log.color_confirmed) {
        return FALSE;
    }
    dialog->rgbResult = g_seam_log.color;
    return TRUE;
}

inline BOOL WINAPI FakeMessageBeep(UINT) {
    ++g_seam_log.beeps;
    return TRUE;
}

inline BOOL WINAPI FakeGetSaveFileName(LPOPENFILENAMEW dialog) {
    ++g_seam_log.save_calls;
    g_seam_log.last_save_dialog = *dialog;
    g_seam_log.save_proposed = dialog->lpstrFile;
    g_seam_log.save_extension = dialog->lpstrDefExt != nullptr ? dialog->lpstrDefExt : L"";
    if (g_seam_log.save_path.empty() || g_seam_log.save_path.size() >= dialog->nMaxFile) {
        return FALSE;
    }
    lstrcpyW(dialog->lpstrFile, g_seam_log.save_path.c_str());
    return TRUE;
}

inline int WINAPI FakeMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    g_seam_log.box_owner = owner;
    g_seam_log.box_texts.push_back(text != nullptr ? text : L"");
    g_seam_log.box_caption = caption != nullptr ? caption : L"";
    g_seam_log.box_type = type;
    return IDOK;
}

inline std::wstring Wide(const std::string& utf8) {
    const std::u16string text = ToU16(utf8);
    return std::wstring(text.begin(), text.end());
}

inline std::wstring CallTextOf(int32_t index) {
    FixedWideText<kCallTextUnits> call;
    BuildCallText(g_document.RecordAt(index), call);
    return std::wstring(call.view().begin(), call.view().end());
}

// What the call pane shows of record `index`: its verbose call text, ending in a line break.
inline std::wstring CallPaneTextOf(int32_t index) {
    const int verbose = VerboseFlag();
    SetVerboseFlag(1);
    std::wstring text = CallTextOf(index);
    SetVerboseFlag(verbose);
    return text.empty() || text.back() == L'\n' ? text : text + L"\r\n";
}

class AppWindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        static bool prepared = false;
        if (!prepared) {
            PrepareMainWindow(GetModuleHandleW(nullptr));
            prepared = true;
        }
    }

    void SetUp() override {
        saved_platform_ = g_platform;
        g_platform = {FakeGetOpenFileName, FakeChooseColor, FakeMessageBeep, FakeGetSaveFileName,
                      FakeMessageBox};
        saved_text_view_box_ = g_text_view_message_box;
        g_text_view_message_box = FakeMessageBox;
        g_seam_log = SeamLog();
        g_document.Release();
        g_current_record = 0;
        g_view_mode = 0;
        g_report_state = -1;
        g_canvas_view.background_color = kInitialBackground;
        for (COLORREF& color : g_custom_colors) {
            color = 0;
        }
        SetVerboseFlag(0);
    }

    void TearDown() override {
        if (main_ != nullptr) {
            DestroyWindow(main_);
            main_ = nullptr;
        }
        Pump();
        g_platform = saved_platform_;
        g_text_view_message_box = saved_text_view_box_;
    }

    // Creates and shows the main window with a client area of 800 x 600, and lets it run
    // until its queue is empty (the Open command posted at creation is answered by the fake
    // file dialog).
    HWND CreateWindowUnderTest() {
        main_ = CreateMainWindow(GetModuleHandleW(nullptr));
        if (main_ == nullptr) {
            ADD_FAILURE() << "the main window could not be created";
            return nullptr;
        }
        SetClientSize();
        ShowWindow(main_, SW_SHOW);
        UpdateWindow(main_);
        Pump();
        return main_;
    }

    void SetClientSize() {
        RECT outer = {0, 0, 800, 600};
        AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0);
        SetWindowPos(main_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOZORDER | SWP_NOMOVE);
    }

    // Opens `path` through the Open command, as the menu does.
    void Open(const std::string& path) {
        g_seam_log.paths.push_back(Wide(path));
        SendMessageW(main_, WM_COMMAND, IDM_OPEN, 0);
        Pump();
    }

    HWND Child(int id) const { return GetDlgItem(main_, id); }

    std::wstring TextOf(HWND window) const {
        const int length = GetWindowTextLengthW(window);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        GetWindowTextW(window, text.data(), length + 1);
        text.resize(static_cast<size_t>(length));
        return text;
    }
    std::wstring TextOf(int id) const { return TextOf(Child(id)); }

    // Puts `text` into the record-index field as a paste would.
    void TypeIndex(const wchar_t* text) {
        SetWindowTextW(Child(IDC_RECORDINDEX), text);
        Pump();
    }

    void Key(WPARAM key) {
        SendMessageW(main_, WM_KEYDOWN, key, 0);
        Pump();
    }

    // Clicks tab `index` of the tab control with the mouse, as the user does.
    void ClickTab(int index) {
        HWND tabs = Child(IDC_MODESWITCHER);
        RECT item;
        ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)));
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(tabs, WM_LBUTTONUP, 0, at);
        Pump();
    }

    bool HasCanvas() const { return Child(IDC_CANVAS) != nullptr; }

    HWND main_ = nullptr;

  private:
    PlatformSeams saved_platform_ = {};
    decltype(g_text_view_message_box) saved_text_view_box_ = nullptr;
};

// A main window without its canvas is a fault of the build or of the window's creation: the
// test fails rather than pass without looking at the canvas.
#define SKIP_WITHOUT_CANVAS() ASSERT_TRUE(HasCanvas()) << "the main window has no canvas child"

// One main window for all the tests of a suite: the first test that asks for it creates it,
// and it is destroyed after the suite's last test (without a window manager, Wine waits about
// two seconds for a destroyed top-level window to be withdrawn). Each test gets it back with
// no document, at its first tab and with a client area of 800 x 600; what a test adds to it
// (children, a document) it removes itself, or the next test sees it.
class SharedAppWindowTest : public AppWindowTest {
  protected:
    static void TearDownTestSuite() {
        if (shared_ != nullptr) {
            DestroyWindow(shared_);
            shared_ = nullptr;
            Pump();
        }
    }

    void TearDown() override {
        main_ = nullptr;
        AppWindowTest::TearDown();
    }

    HWND CreateWindowUnderTest() {
        if (shared_ == nullptr || !IsWindow(shared_)) {
            shared_ = AppWindowTest::CreateWindowUnderTest();
            return shared_;
        }
        main_ = shared_;
        // The view the window shows is the one the last test left; back to the first tab
        // through the tab control, as the user would.
        g_view_mode = static_cast<int32_t>(TabCtrl_GetCurSel(Child(IDC_MODESWITCHER)));
        ClickTab(0);
        SetClientSize();
        // A test may have laid the children out for another size: the same size again sends
        // no size message, so one is sent here.
        SendMessageW(main_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
        RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        return main_;
    }

  private:
    static inline HWND shared_ = nullptr;
};
