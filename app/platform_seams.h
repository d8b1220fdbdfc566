// The platform's file and colour dialogs, its message box and its beep, reached through one table
// so that the tests can answer them.
#pragma once

#include <windows.h>

#include <commdlg.h>

struct PlatformSeams {
    BOOL(WINAPI* get_open_file_name)(LPOPENFILENAMEW dialog);
    BOOL(WINAPI* choose_color)(LPCHOOSECOLORW dialog);
    BOOL(WINAPI* message_beep)(UINT type);
    BOOL(WINAPI* get_save_file_name)(LPOPENFILENAMEW dialog);
    int(WINAPI* message_box)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
};

// The platform's own functions until a test replaces them.
extern PlatformSeams g_platform;
