// The About box: the application's icon, title and version.
#include "app/about_box.h"

#include "app/main_window.h"
#include "app/resource.h"

void ShowAboutBox(HWND owner) {
    DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, AboutBoxProc, 0);
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            // Escape and the close box arrive as IDCANCEL.
            if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wparam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
