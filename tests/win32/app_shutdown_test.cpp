// Closing the real program ends its process with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring ProgramPath() {
    wchar_t tests[MAX_PATH];
    GetModuleFileNameW(nullptr, tests, MAX_PATH);
    std::wstring path(tests);
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"..\\orvella.exe";
}

struct FoundWindow {
    DWORD process;
    const wchar_t* window_class;
    HWND window;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lparam) {
    FoundWindow* found = reinterpret_cast<FoundWindow*>(lparam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (process == found->process && lstrcmpW(name, found->window_class) == 0) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD process, const wchar_t* window_class) {
    for (int i = 0; i < 300; ++i) {
        FoundWindow found = {process, window_class, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&found));
        if (found.window != nullptr) {
            return found.window;
        }
        Sleep(100);
    }
    return nullptr;
}

// Starts the program, waits for its file dialog, cancels it, then closes the main window
// with `close`; the exit code of the process, or -1.
template <typename Close>
int RunAndClose(Close close) {
    std::wstring command = L"\"" + ProgramPath() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << std::string(command.begin(), command.end());
        return -1;
    }
    HWND dialog = WaitForWindow(process.dwProcessId, L"#32770");
    EXPECT_NE(dialog, nullptr);
    if (dialog != nullptr) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    HWND main_window = WaitForWindow(process.dwProcessId, L"ORVELLA");
    EXPECT_NE(main_window, nullptr);
    if (main_window != nullptr) {
        // The dialog must be gone before the main window is closed.
        for (int i = 0; i < 100 && !IsWindowEnabled(main_window); ++i) {
            Sleep(100);
        }
        close(main_window);
    }
    DWORD exit_code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exit_code);
    } else {
        ADD_FAILURE() << "the program did not end";
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exit_code);
}

TEST(AppShutdown, CloseBoxEndsTheProcessWithExitCodeZero) {
    EXPECT_EQ(RunAndClose([](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }),
              0);
}

TEST(AppShutdown, ExitCommandEndsTheProcessWithExitCodeZero) {
    EXPECT_EQ(RunAndClose([](HWND window) { PostMessageW(window, WM_COMMAND, 114, 0); }), 0);
}

}  // namespace
