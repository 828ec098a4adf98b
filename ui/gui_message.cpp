// Modal message boxes over the thread's windows.
#include "ui/gui.h"
#include "ui/gui_os.h"
#include "ui/gui_state.h"

namespace {

struct JuggledWindow {
    HWND handle;
    bool disabled;  // by us, to be enabled again
    bool topmost;   // was topmost, to be made so again
};

struct Juggling {
    HWND foreground;
    JuggledWindow windows[kMaxJuggledWindows];
    int count;
};

// Every visible window of this thread stops taking input while the box is up,
// and none stays above it.
BOOL CALLBACK NoteThreadWindow(HWND handle, LPARAM context) {
    Juggling& juggling = *reinterpret_cast<Juggling*>(context);
    if (GetWindowThreadProcessId(handle, nullptr) != GetCurrentThreadId()) return TRUE;
    if (!IsWindowVisible(handle) || juggling.count == kMaxJuggledWindows) return TRUE;
    const bool topmost = (GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    const bool disable = handle != juggling.foreground && IsWindowEnabled(handle);
    if (disable) EnableWindow(handle, FALSE);
    if (disable || topmost) juggling.windows[juggling.count++] = JuggledWindow{handle, disable, topmost};
    return TRUE;
}

HWND OwnerWindow() {
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr) return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId() ? foreground : nullptr;
}

}  // namespace

void ShowMessage(const wchar_t* title, const wchar_t* text) {
    Juggling juggling = {};
    HWND owner = OwnerWindow();
    juggling.foreground = GetForegroundWindow();
    EnumWindows(NoteThreadWindow, reinterpret_cast<LPARAM>(&juggling));
    for (int i = 0; i < juggling.count; ++i) {
        if (!juggling.windows[i].topmost) continue;
        SetWindowPos(juggling.windows[i].handle, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    g_uiOs.MessageBoxW(owner, text, title, kMessageBoxType);
    for (int i = 0; i < juggling.count; ++i) {
        const JuggledWindow& window = juggling.windows[i];
        if (window.disabled) EnableWindow(window.handle, TRUE);
        if (window.topmost) {
            SetWindowPos(window.handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
    }
}
