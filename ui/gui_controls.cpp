// Controls: making them, finding them by number, changing text and state.
#include "ui/gui.h"
#include "ui/gui_internal.h"
#include "ui/gui_os.h"
#include "ui/gui_state.h"

static_assert(kLabelStyle == (WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX | SS_CENTER));
static_assert(kValueFieldStyle == (WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL));
static_assert(kButtonStyle == (WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON));

namespace {

struct ControlLook {
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle;
};

ControlLook LookOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return {L"Static", kLabelStyle, 0};
        case ControlKind::ValueField:
            return {L"Edit", kValueFieldStyle, WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            break;
    }
    return {L"Button", kButtonStyle, 0};
}

// Value fields report the focus coming and going, then behave as edit controls.
LRESULT CALLBACK ValueFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_SETFOCUS:
            RaiseControlEvent(field, kEventFocusGained);
            break;
        case WM_KILLFOCUS:
            RaiseControlEvent(field, kEventFocusLost);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(field, ValueFieldProc, 0);
            break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

}  // namespace

bool AddControl(ControlKind kind, int number, int x, int y, int width, int height,
                const wchar_t* text) {
    HWND parent = g_windowing.lastWindow;
    if (parent == nullptr || g_windowing.controlCount == kMaxControls) return false;
    const ControlLook look = LookOf(kind);
    HWND handle = g_uiOs.CreateWindowExW(look.extendedStyle, look.className, text, look.style,
                                         ScaleX(x), ScaleY(y), ScaleX(width), ScaleY(height),
                                         parent, nullptr, g_windowing.instance, nullptr);
    if (handle == nullptr) return false;
    SetWindowLongPtrW(handle, GWLP_ID, number);
    RecordControl(handle, number, parent, nullptr);
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(g_windowing.font), TRUE);
    if (kind == ControlKind::ValueField) SetWindowSubclass(handle, ValueFieldProc, 0, 0);
    return true;
}

void RegisterControl(HWND control, int number, CommandFilter filter) {
    HWND parent = GetParent(control);
    RecordControl(control, number, FindWindowByHandle(parent) != nullptr ? parent : g_windowing.lastWindow,
                  filter);
}

HWND ControlHandle(int number) {
    const Control* control = FindControlByNumber(number);
    return control != nullptr ? control->handle : nullptr;
}

void RaiseControlEvent(HWND control, int type) {
    const Control* raising = FindControlByHandle(control);
    if (raising == nullptr) return;
    RaiseEvent(EventKind::Control, raising->windowNumber, raising->number, type);
}

// The notifications the new text causes are the program's own doing, not the user's.
void SetControlText(int number, const wchar_t* text) {
    HWND control = ControlHandle(number);
    if (control == nullptr) return;
    ++g_windowing.quietDepth;
    SetWindowTextW(control, text);
    --g_windowing.quietDepth;
}

void SetControlEnabled(int number, bool enabled) {
    HWND control = ControlHandle(number);
    if (control != nullptr) EnableWindow(control, enabled ? TRUE : FALSE);
}
