// The program's entry: the main window, the accelerators and the message loop.
#include <windows.h>

#include "app/file_sources.h"
#include "app/main_window.h"
#include "app/message_loop.h"
#include "app/resource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    PrepareMainWindow(instance);
    // A file named on the command line opens at start in place of the file dialog.
    SetStartUpCommandLine(GetCommandLineW());
    HWND main_window = CreateMainWindow(instance);
    if (main_window == nullptr) {
        return 0;
    }
    ShowWindow(main_window, show);
    UpdateWindow(main_window);
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDC_ORVELLA));
    return RunMessageLoop(main_window, accelerators);
}
