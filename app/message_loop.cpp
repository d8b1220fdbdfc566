// The program's one message loop, with the idle refresh of the main window's children.
#include "app/message_loop.h"

#include "app/keyboard.h"
#include "app/resource.h"
#include "canvas/canvas_messages.h"
#include "textview/text_view_win.h"

namespace {

bool MessageWaiting() {
    MSG message;
    return PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) != 0;
}

// Ctrl+O opens a file wherever the focus is inside the main window: the keys addressed to
// its children are translated for the main window itself. Tab in "The EMF" moves the focus
// between its parts.
void TranslateAndDispatch(HWND main_window, HACCEL accelerators, MSG* message) {
    const bool ours = message->hwnd == main_window || IsChild(main_window, message->hwnd);
    if (accelerators != nullptr && ours &&
        TranslateAcceleratorW(main_window, accelerators, message)) {
        return;
    }
    if (ours &&
        (MoveFocusOnTab(main_window, *message) || StepFromStateView(main_window, *message))) {
        return;
    }
    TranslateMessage(message);
    DispatchMessageW(message);
}

}  // namespace

// The status bar is left out: the refresh's number is also its message that sets the text of
// its first part, which a refresh would empty.
void SendIdleRefresh(HWND main_window) {
    for (HWND child = GetWindow(main_window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) != IDC_STATUSBAR) {
            SendMessageW(child, UWM_IDLEREFRESH, 0, 0);
        }
    }
}

int RunMessageLoop(HWND main_window, HACCEL accelerators) {
    bool refresh_pending = true;
    MSG message;
    for (;;) {
        if (refresh_pending && !MessageWaiting()) {
            SendIdleRefresh(main_window);
            refresh_pending = false;
        }
        do {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0) {
                return static_cast<int>(message.wParam);
            }
            if (got < 0) {
                return 0;
            }
            // The Find dialog of a text view takes its own keys (Tab, Enter, Escape).
            if (!TextViewDialogMessage(&message)) {
                TranslateAndDispatch(main_window, accelerators, &message);
            }
            if (message.message == WM_PAINT) {
                refresh_pending = true;
            }
        } while (MessageWaiting());
    }
}
