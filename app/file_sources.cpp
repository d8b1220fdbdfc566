// Files that come from outside the file dialog: the one the command line names at start, and
// those dropped on the main window.
#include "app/file_sources.h"

#include <shellapi.h>

#include <string>

#include "app/commands.h"

namespace {

const wchar_t* g_start_up_command_line = nullptr;

}  // namespace

void SetStartUpCommandLine(const wchar_t* command_line) {
    g_start_up_command_line = command_line;
}

const wchar_t* StartUpCommandLine() {
    return g_start_up_command_line;
}

// The platform's own parse, so that quotes and spaces in the path are taken as the shell gives
// them.
void OnStartUp(HWND main_window, const wchar_t* command_line) {
    int count = 0;
    LPWSTR* arguments = command_line != nullptr && command_line[0] != L'\0'
                            ? CommandLineToArgvW(command_line, &count)
                            : nullptr;
    if (arguments != nullptr && count >= 2 && arguments[1][0] != L'\0') {
        const std::wstring path = arguments[1];
        LocalFree(arguments);
        OpenPath(main_window, path.c_str());
        return;
    }
    if (arguments != nullptr) {
        LocalFree(arguments);
    }
    OnOpenCommand(main_window);
}

// The path is taken whole, however long: a path the document cannot take is refused with its
// reason rather than cut into the name of another file.
void OnDropFiles(HWND main_window, HDROP drop) {
    std::wstring path;
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
        path.resize(static_cast<size_t>(length) + 1);
        path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
    }
    DragFinish(drop);
    if (!path.empty()) {
        SetForegroundWindow(main_window);
        OpenPath(main_window, path.c_str());
    }
}
