// Tab and Shift+Tab between the controls of a program window, and the keyboard
// cues: shown once the keyboard is used, hidden again when the window is left.
#include "ui/gui_navigation.h"

#include "ui/gui_rules.h"
#include "ui/gui_state.h"

static_assert(kShowCuesParam == MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL));
static_assert(kHideCuesParam == MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL));

namespace {

constexpr LRESULT kBothCues = UISF_HIDEFOCUS | UISF_HIDEACCEL;

bool CanTakeFocus(HWND control) {
    return IsWindowEnabled(control) && IsWindowVisible(control) &&
           (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

}  // namespace

void MoveFocus(HWND window, bool forward) {
    HWND controls[kMaxControls];
    bool canTakeFocus[kMaxControls];
    int count = 0;
    int current = -1;
    HWND focus = GetFocus();
    for (int i = 0; i < g_windowing.controlCount; ++i) {
        const Control& control = g_windowing.controls[i];
        if (control.window != window) continue;
        if (focus != nullptr && (focus == control.handle || IsChild(control.handle, focus))) {
            current = count;
        }
        controls[count] = control.handle;
        canTakeFocus[count++] = CanTakeFocus(control.handle);
    }
    const int next = NextTabStop(canTakeFocus, count, current, forward);
    if (next < 0) return;
    SetFocus(controls[next]);
    ShowKeyboardCues(GetActiveWindow());
}

void ShowKeyboardCues(HWND window) {
    if (window == nullptr) return;
    if ((SendMessageW(window, WM_QUERYUISTATE, 0, 0) & kBothCues) != 0) {
        SendMessageW(window, WM_UPDATEUISTATE, kShowCuesParam, 0);
    }
}

void HideKeyboardCues(HWND window) {
    if ((SendMessageW(window, WM_QUERYUISTATE, 0, 0) & kBothCues) != kBothCues) {
        SendMessageW(window, WM_UPDATEUISTATE, kHideCuesParam, 0);
    }
}
