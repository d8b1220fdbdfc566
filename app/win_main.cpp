// The program's entry.
#include <windows.h>

// The window program comes with a later change.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
