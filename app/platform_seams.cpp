// The platform's file and colour dialogs, its message box and its beep, reached through one table
// so that the tests can answer them.
#include "app/platform_seams.h"

PlatformSeams g_platform = {GetOpenFileNameW, ChooseColorW, MessageBeep, GetSaveFileNameW,
                            MessageBoxW};
