// The hourglass while a long piece of work runs on the user-interface thread.
#pragma once

#include <windows.h>

// Shows the wait cursor for its lifetime, then the cursor it replaced.
class WaitCursor {
  public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous_;
};
