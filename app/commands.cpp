// The main window's commands: Open, the background colour, the picture copied or saved, and
// the window title.
#include "app/commands.h"

#include <string>

#include "app/app_globals.h"
#include "app/child_controls.h"
#include "app/filter_list.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/platform_seams.h"
#include "app/report_views.h"
#include "app/resource.h"
#include "app/state_view.h"
#include "app/status_bar.h"
#include "app/view_switch.h"
#include "app/wait_cursor.h"
#include "canvas/canvas_messages.h"
#include "canvas/canvas_view.h"
#include "canvas/picture_export_win.h"
#include "document/played_records.h"
#include "text/codepage.h"
#include "text/wide_text.h"

COLORREF g_custom_colors[16] = {};

namespace {

// The "samples" folder beside the executable: a first-time user has pictures to open at once.
void SamplesFolder(wchar_t* folder, DWORD units) {
    const DWORD length = GetModuleFileNameW(nullptr, folder, units);
    if (length == 0 || length >= units) {
        folder[0] = L'\0';
        return;
    }
    wchar_t* last_slash = nullptr;
    for (wchar_t* unit = folder; *unit != L'\0'; ++unit) {
        if (*unit == L'\\' || *unit == L'/') {
            last_slash = unit;
        }
    }
    if (last_slash == nullptr || (last_slash - folder) + 9 >= static_cast<ptrdiff_t>(units)) {
        folder[0] = L'\0';
        return;
    }
    lstrcpyW(last_slash + 1, L"samples");
}

// Marks a command as running for as long as it lives. A command that opens a modal dialog
// runs the dialog's message loop, in which a second press of its menu item, key or button
// would start it again inside the first: it ignores that second start.
class RunningCommand {
  public:
    explicit RunningCommand(bool& running) : running_(running), started_(!running) {
        running_ = true;
    }
    ~RunningCommand() {
        if (started_) {
            running_ = false;
        }
    }
    RunningCommand(const RunningCommand&) = delete;
    RunningCommand& operator=(const RunningCommand&) = delete;
    bool started() const { return started_; }

  private:
    bool& running_;
    bool started_;
};

bool g_open_running = false;
bool g_background_running = false;
bool g_save_running = false;

void ShowFailure(HWND main_window, const std::wstring& failure) {
    g_platform.message_box(main_window, failure.c_str(), g_app_title, MB_OK | MB_ICONERROR);
}

// The metafile's path with ".png" in place of its extension, or added where its name has none;
// where that would not fit, "picture.png".
void ProposedPngPath(const char16_t* metafile, wchar_t* path, int units) {
    lstrcpynW(path, reinterpret_cast<const wchar_t*>(metafile), units);
    int end = lstrlenW(path);
    for (int i = end; i > 0 && path[i - 1] != L'\\' && path[i - 1] != L'/'; --i) {
        if (path[i - 1] == L'.') {
            end = i - 1;
            break;
        }
    }
    lstrcpyW(end + 5 <= units ? path + end : path, end + 5 <= units ? L".png" : L"picture.png");
}

// Says in a message box why `path` was not opened, in the words of the document's load.
void TellOpenFailure(HWND main_window, const wchar_t* path) {
    std::u16string text = u"Orvella cannot open \"";
    text += reinterpret_cast<const char16_t*>(path);
    text += u"\":\r\n\r\n";
    const char* reason = g_document.LastLoadFailure();
    if (reason == nullptr || reason[0] == '\0') {
        reason = "It is missing, cannot be read, or is not an enhanced metafile";
    }
    for (const char* unit = reason; *unit != '\0'; ++unit) {
        text += Windows1252ToUtf16(static_cast<uint8_t>(*unit));
    }
    if (text.back() != u'.') {
        text += u'.';
    }
    g_platform.message_box(main_window, reinterpret_cast<const wchar_t*>(text.c_str()), L"Orvella",
                           MB_ICONERROR | MB_OK);
}

}  // namespace

int ChooseFile(HWND owner, wchar_t* path, DWORD path_units) {
    wchar_t folder[MAX_PATH];
    SamplesFolder(folder, MAX_PATH);
    path[0] = L'\0';
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Enhanced Metafile (*.emf)\0*.emf\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = path_units;
    dialog.lpstrInitialDir = folder[0] != L'\0' ? folder : nullptr;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    dialog.lpstrDefExt = L"emf";
    return g_platform.get_open_file_name(&dialog) ? 1 : 0;
}

void OnOpenCommand(HWND main_window) {
    const RunningCommand running(g_open_running);
    if (!running.started()) {
        return;
    }
    wchar_t path[kPathUnits];
    if (!ChooseFile(main_window, path, kPathUnits)) {
        return;
    }
    OpenPath(main_window, path);
}

int OpenPath(HWND main_window, const wchar_t* path) {
    WaitCursor wait;
    const int loaded = g_document.LoadFile(reinterpret_cast<const char16_t*>(path));
    // A file that cannot be loaded leaves the loaded document, and the report made from it, as
    // they were; the user is told why.
    if (!loaded || !g_document.IsLoaded()) {
        TellOpenFailure(main_window, path);
        return 0;
    }
    // The records that can be shown are those read, whatever the header claims.
    g_current_record = LastRecordIndex(g_document.Store().count());
    g_current_place = -1;
    ForgetReport(main_window);
    SendDlgItemMessageW(main_window, IDC_CANVAS, CVM_SETDOCUMENT,
                        reinterpret_cast<WPARAM>(&g_document),
                        reinterpret_cast<LPARAM>(ListedRecordFilter()));
    SetTitle(main_window, path);
    ShowIndex(main_window);
    ShowCallText(main_window);
    FillFilterList(main_window);
    ResetStateTracker();
    SendDlgItemMessageW(main_window, IDC_CANVAS, CVM_SETSTATETRACKER,
                        reinterpret_cast<WPARAM>(DocumentStateTracker()), 0);
    SwitchView(main_window, 0);
    LayOutAgain(main_window);
    UpdateStatusBar(main_window);
    InvalidateRect(main_window, nullptr, TRUE);
    return 1;
}

void OnBackgroundColorCommand(HWND main_window) {
    const RunningCommand running(g_background_running);
    if (!running.started()) {
        return;
    }
    CHOOSECOLORW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = main_window;
    dialog.rgbResult = g_canvas_view.background_color;
    dialog.lpCustColors = g_custom_colors;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!g_platform.choose_color(&dialog)) {
        return;
    }
    g_canvas_view.background_color = dialog.rgbResult;
    InvalidateRect(main_window, nullptr, TRUE);
}

void OnCopyPictureCommand(HWND main_window) {
    HWND canvas = GetDlgItem(main_window, IDC_CANVAS);
    if (canvas == nullptr || !g_document.IsLoaded()) {
        return;
    }
    WaitCursor wait;
    std::wstring failure;
    if (!CopyPictureToClipboard(canvas, &failure)) {
        ShowFailure(main_window, failure);
    }
}

void OnSavePictureCommand(HWND main_window) {
    const RunningCommand running(g_save_running);
    HWND canvas = GetDlgItem(main_window, IDC_CANVAS);
    if (!running.started() || canvas == nullptr || !g_document.IsLoaded()) {
        return;
    }
    wchar_t path[kPathUnits];
    ProposedPngPath(g_document.Path(), path, kPathUnits);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = main_window;
    dialog.lpstrFilter = L"PNG image (*.png)\0*.png\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = kPathUnits;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    dialog.lpstrDefExt = L"png";
    if (!g_platform.get_save_file_name(&dialog)) {
        return;
    }
    WaitCursor wait;
    std::wstring failure;
    if (!SavePicturePng(canvas, path, &failure)) {
        ShowFailure(main_window, failure);
    }
}

int SetTitle(HWND main_window, const wchar_t* path) {
    FixedWideText<kPathUnits + 3 + 100> title;
    title.Append(reinterpret_cast<const char16_t*>(path));
    title.Append(u" - ");
    title.Append(reinterpret_cast<const char16_t*>(g_app_title));
    SetWindowTextW(main_window, reinterpret_cast<const wchar_t*>(title.c_str()));
    return 1;
}
