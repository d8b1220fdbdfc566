// The message loop: the idle refresh of the children, and Ctrl+O through the accelerators.
#include "app/message_loop.h"

#include <vector>

#include "canvas/canvas_messages.h"
#include "tests/win32/app_window_fixture.h"

namespace {

// A probe child of the main window that counts what the loop sends it.
constexpr UINT kProbeMessage = WM_APP + 1;
constexpr UINT kProbeQuit = WM_APP + 2;
struct ProbeLog {
    int refreshes = 0;
    int probe_messages = 0;
    int probe_messages_at_first_refresh = -1;
    // Invalidated at the first refresh, so that a paint follows it.
    HWND invalidate_on_refresh = nullptr;
};
ProbeLog g_probe;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case UWM_IDLEREFRESH:
            if (g_probe.refreshes++ == 0) {
                g_probe.probe_messages_at_first_refresh = g_probe.probe_messages;
            }
            if (g_probe.refreshes == 1 && g_probe.invalidate_on_refresh != nullptr) {
                InvalidateRect(g_probe.invalidate_on_refresh, nullptr, TRUE);
            }
            return 0;
        case kProbeMessage:
            ++g_probe.probe_messages;
            return 0;
        case kProbeQuit:
            PostQuitMessage(0);
            return 0;
        case WM_TIMER:
            KillTimer(window, wparam);
            PostMessageW(window, kProbeQuit, 0, 0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

class AppMessageLoopTest : public SharedAppWindowTest {
  protected:
    void SetUp() override {
        SharedAppWindowTest::SetUp();
        g_probe = ProbeLog();
        WNDCLASSW probe_class = {};
        probe_class.lpfnWndProc = ProbeProc;
        probe_class.hInstance = GetModuleHandleW(nullptr);
        probe_class.lpszClassName = L"OrvellaTestProbe";
        RegisterClassW(&probe_class);
    }

    // The probes go with the test: the main window is the suite's.
    void TearDown() override {
        for (HWND probe : probes_) {
            DestroyWindow(probe);
        }
        SharedAppWindowTest::TearDown();
    }

    HWND CreateProbe() {
        HWND probe = CreateWindowExW(0, L"OrvellaTestProbe", L"", WS_CHILD, 0, 0, 1, 1, main_,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
        probes_.push_back(probe);
        return probe;
    }

    // Lets the main window paint everything it has to, so that nothing is waiting.
    void Settle() {
        RedrawWindow(main_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
    }

    std::vector<HWND> probes_;
};

// The loop refreshes the children once the queue has drained, and again only after a paint.
TEST_F(AppMessageLoopTest, ChildrenAreRefreshedOnceTheQueueHasDrainedAndAfterAPaint) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    HWND probe = CreateProbe();
    ASSERT_NE(probe, nullptr);
    Settle();
    for (int i = 0; i < 5; ++i) {
        PostMessageW(probe, kProbeMessage, 0, 0);
    }
    // The probe's timer, which is no paint, ends the loop.
    SetTimer(probe, 1, 200, nullptr);
    EXPECT_EQ(RunMessageLoop(main_, nullptr), 0);
    EXPECT_EQ(g_probe.refreshes, 1);
    EXPECT_EQ(g_probe.probe_messages_at_first_refresh, 5);

    // A paint after the first refresh brings one more once it was handled.
    g_probe = ProbeLog();
    g_probe.invalidate_on_refresh = main_;
    Settle();
    SetTimer(probe, 1, 200, nullptr);
    EXPECT_EQ(RunMessageLoop(main_, nullptr), 0);
    EXPECT_EQ(g_probe.refreshes, 2);
}

TEST_F(AppMessageLoopTest, EveryChildIsRefreshed) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    HWND first = CreateProbe();
    HWND last = CreateProbe();
    ASSERT_NE(last, nullptr);
    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SendIdleRefresh(main_);
    EXPECT_EQ(g_probe.refreshes, 2);
    // But the status bar, to which the refresh's number means "set the first part's text".
    EXPECT_EQ(TextOf(IDC_STATUSBAR), L"No file");
}

TEST_F(AppMessageLoopTest, ControlOOpensTheFileDialog) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    HACCEL accelerators =
        LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_ORVELLA));
    ASSERT_NE(accelerators, nullptr);
    const int before = g_seam_log.open_calls;
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    g_seam_log.quit_on_open = true;
    // A dialog that never comes would leave the loop running: a probe's timer ends it.
    HWND probe = CreateProbe();
    // Once while the main window has the focus, once while the record-index field has it.
    for (HWND target : {main_, Child(IDC_RECORDINDEX)}) {
        SetFocus(target);
        SetTimer(probe, 1, 5000, nullptr);
        PostMessageW(target, WM_KEYDOWN, 'O', 1);
        EXPECT_EQ(RunMessageLoop(main_, accelerators), 0);
        KillTimer(probe, 1);
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(g_seam_log.open_calls, before + 2);
    DestroyAcceleratorTable(accelerators);
}

}  // namespace
