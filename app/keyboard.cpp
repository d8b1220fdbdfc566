// The keyboard and the menu beyond the navigation keys: the views by command, Tab between the
// parts of "The EMF", the Edit commands sent to a text view, and the menu items that cannot act
// greyed.
#include "app/keyboard.h"

#include <iterator>

#include "app/app_globals.h"
#include "app/navigation.h"
#include "app/report_views.h"
#include "app/resource.h"
#include "app/state_view.h"
#include "app/view_switch.h"
#include "app/views.h"
#include "canvas/canvas_view.h"
#include "textview/text_view_win.h"

namespace {

// The text view's command of each Edit command; 0 where the text view has none yet.
struct EditCommand {
    UINT menu_command;
    UINT view_command;
};
constexpr EditCommand kEditCommands[] = {
    {IDM_COPY, kTextViewCopy},
    {IDM_SELECTALL, kTextViewSelectAll},
    {IDM_FIND, kTextViewFind},
    {IDM_FINDNEXT, kTextViewFindNext},
    {IDM_FINDPREVIOUS, kTextViewFindPrevious},
};

// The commands that act on a loaded picture.
constexpr UINT kPictureCommands[] = {IDM_SAVEPICTURE, IDM_COPYPICTURE, IDM_ZOOMIN,
                                     IDM_ZOOMOUT,     IDM_FITIMAGE,    IDM_ACTUALSIZE,
                                     IDM_SHOWOVERLAY, IDM_GOTODRAWER,  IDM_SHOWDRAWN};

// The parts of "The EMF" that Tab goes round, in order.
constexpr int kTabOrder[] = {IDC_CANVAS, IDC_CALLTEXT, IDC_RECORDINDEX};

bool IsTextView(HWND window) {
    wchar_t name[32] = L"";
    return window != nullptr && GetClassNameW(window, name, 32) > 0 &&
           lstrcmpW(name, kTextViewClassName) == 0;
}

bool ShowsPicture() {
    return g_view_mode >= 0 && static_cast<unsigned>(g_view_mode) < kViewCount &&
           kViews[g_view_mode].content == ViewContent::kPicture;
}

// The place in the Tab order of the focused window; the main window, which takes the
// picture's keys, stands for the picture. -1 for any other window.
int TabPlace(HWND main_window, HWND focus) {
    if (focus == main_window) {
        return 0;
    }
    for (int place = 0; place < static_cast<int>(std::size(kTabOrder)); ++place) {
        HWND part = GetDlgItem(main_window, kTabOrder[place]);
        if (part != nullptr && (focus == part || IsChild(part, focus))) {
            return place;
        }
    }
    return -1;
}

}  // namespace

int OnViewCommand(HWND main_window, UINT command) {
    const unsigned count = kViewCount;
    const unsigned shown = static_cast<unsigned>(g_view_mode) % count;
    if (command == IDM_NEXTVIEW) {
        SwitchView(main_window, (shown + 1) % count);
        return 1;
    }
    if (command == IDM_PREVIOUSVIEW) {
        SwitchView(main_window, (shown + count - 1) % count);
        return 1;
    }
    if (command >= IDM_VIEW_FIRST && command < IDM_VIEW_FIRST + count) {
        SwitchView(main_window, command - IDM_VIEW_FIRST);
        return 1;
    }
    return 0;
}

HWND EditTarget(HWND main_window) {
    HWND focus = GetFocus();
    if (IsTextView(focus) && IsChild(main_window, focus) && IsWindowVisible(focus)) {
        return focus;
    }
    HWND report = GetDlgItem(main_window, IDC_REPORT);
    if (g_view_mode >= 0 && IsReportView(static_cast<unsigned>(g_view_mode)) &&
        g_document.IsLoaded() && IsTextView(report)) {
        return report;
    }
    return nullptr;
}

int OnEditCommand(HWND main_window, UINT command) {
    for (const EditCommand& edit : kEditCommands) {
        if (edit.menu_command != command) {
            continue;
        }
        HWND target = EditTarget(main_window);
        if (target != nullptr && edit.view_command != 0) {
            SendMessageW(target, WM_COMMAND, edit.view_command, 0);
        }
        return 1;
    }
    return 0;
}

void GreyIdleMenuItems(HWND main_window, HMENU menu) {
    const UINT picture = g_document.IsLoaded() ? MF_ENABLED : MF_GRAYED;
    for (UINT command : kPictureCommands) {
        EnableMenuItem(menu, command, MF_BYCOMMAND | picture);
    }
    CheckMenuItem(menu, IDM_SHOWOVERLAY,
                  MF_BYCOMMAND | (g_canvas_view.show_overlay ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_SHOWDRAWN,
                  MF_BYCOMMAND | (g_canvas_view.show_drawn ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuRadioItem(menu, IDM_RENDERGDI, IDM_RENDERBOTH,
                       IDM_RENDERGDI + static_cast<UINT>(g_canvas_view.renderer), MF_BYCOMMAND);
    const bool both = g_document.IsLoaded() && g_canvas_view.renderer == Renderer::kBoth;
    EnableMenuItem(menu, IDM_SHOWDIFFERENCES, MF_BYCOMMAND | (both ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, IDM_SHOWDIFFERENCES,
                  MF_BYCOMMAND | (g_canvas_view.show_differences ? MF_CHECKED : MF_UNCHECKED));
    const bool text_view = EditTarget(main_window) != nullptr;
    for (const EditCommand& edit : kEditCommands) {
        const bool acts = text_view && edit.view_command != 0;
        EnableMenuItem(menu, edit.menu_command, MF_BYCOMMAND | (acts ? MF_ENABLED : MF_GRAYED));
    }
}

bool StepFromStateView(HWND main_window, const MSG& message) {
    if (message.message != WM_KEYDOWN ||
        (message.wParam != VK_LEFT && message.wParam != VK_RIGHT) || g_view_mode < 0 ||
        static_cast<unsigned>(g_view_mode) >= kViewCount ||
        kViews[g_view_mode].report_state != kStateReportState ||
        message.hwnd != GetDlgItem(main_window, IDC_REPORT) || GetKeyState(VK_SHIFT) < 0 ||
        GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    OnNavigationKey(main_window, message.wParam);
    return true;
}

// Taken before the message is translated, so that Tab never reaches a control as a character.
bool MoveFocusOnTab(HWND main_window, const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !ShowsPicture() ||
        GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    const int place = TabPlace(main_window, GetFocus());
    if (place < 0) {
        return false;
    }
    const int count = static_cast<int>(std::size(kTabOrder));
    const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
    for (int next = (place + step) % count; next != place; next = (next + step) % count) {
        HWND part = GetDlgItem(main_window, kTabOrder[next]);
        if (part != nullptr && IsWindowVisible(part) && IsWindowEnabled(part)) {
            SetFocus(part);
            return true;
        }
    }
    return true;
}
