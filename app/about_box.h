// The About box: the application's icon, title and version.
#pragma once

#include <windows.h>

// Shows the modal About box over `owner`.
void ShowAboutBox(HWND owner);

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
