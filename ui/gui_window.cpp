// Program windows: making, closing, and the window procedure that turns their
// messages into events.
#include <cwchar>

#include "ui/gui.h"
#include "ui/gui_brushes.h"
#include "ui/gui_internal.h"
#include "ui/gui_navigation.h"
#include "ui/gui_os.h"
#include "ui/gui_queue.h"
#include "ui/gui_rules.h"
#include "ui/gui_state.h"

static_assert(kProgramWindowStyle == (WS_CAPTION | WS_SYSMENU));

namespace {

// The window learns its handle before its first message is handled, so that
// the messages of its making already raise its events.
void AttachHandle(HWND handle, LPARAM createStruct) {
    const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(createStruct);
    static_cast<ProgramWindow*>(create->lpCreateParams)->handle = handle;
}

LRESULT OnCommand(const ProgramWindow& window, WPARAM wParam, LPARAM lParam) {
    const int code = HIWORD(wParam);
    const int identifier = LOWORD(wParam);
    if (lParam != 0) {
        HWND from = reinterpret_cast<HWND>(lParam);
        const Control* control = FindControlByHandle(from);
        if (control != nullptr && control->filter != nullptr && control->filter(from, code)) return 0;
        RaiseEvent(EventKind::Control, window.number, identifier, code);
        return 0;
    }
    if (identifier == kNextControlCommand) MoveFocus(window.handle, true);
    if (identifier == kPreviousControlCommand) MoveFocus(window.handle, false);
    return 0;
}

// A close request is only reported: the program decides when a window goes.
LRESULT OnClose(const ProgramWindow& window) {
    RaiseEvent(EventKind::Close, window.number, 0, 0);
    return 0;
}

LRESULT OnActivate(ProgramWindow& window, WPARAM wParam, LPARAM lParam) {
    RaiseEvent(EventKind::Other, window.number, 0, WM_ACTIVATE);
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        window.lastFocus = focus != nullptr && IsChild(window.handle, focus) ? focus : nullptr;
        HideKeyboardCues(window.handle);
    } else if (window.lastFocus != nullptr && IsChild(window.handle, window.lastFocus)) {
        SetFocus(window.lastFocus);
        return 0;
    }
    return DefWindowProcW(window.handle, WM_ACTIVATE, wParam, lParam);
}

// Controls destroyed one by one; those destroyed with the window go in OnNcDestroy.
void OnParentNotify(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WM_DESTROY) ForgetControl(reinterpret_cast<HWND>(lParam));
}

void OnNcDestroy(ProgramWindow& window) {
    ForgetWindowControls(window.handle);
    RemoveWindowEvents(g_windowing.queue, window.number);
    if (g_windowing.lastWindow == window.handle) g_windowing.lastWindow = nullptr;
    window.handle = nullptr;
    window.lastFocus = nullptr;
}

LRESULT CALLBACK ProgramWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) AttachHandle(handle, lParam);
    ProgramWindow* window = FindWindowByHandle(handle);
    if (window == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
    switch (message) {
        case WM_COMMAND:
            return OnCommand(*window, wParam, lParam);
        case WM_CLOSE:
            return OnClose(*window);
        case WM_ACTIVATE:
            return OnActivate(*window, wParam, lParam);
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(handle, wParam, lParam);
        case WM_PARENTNOTIFY:
            OnParentNotify(wParam, lParam);
            break;
        case WM_NCDESTROY:
            OnNcDestroy(*window);
            break;
        case WM_MOVE:
        case WM_SIZE:
        case WM_ERASEBKGND:
        case WM_TIMER:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONUP:
            RaiseEvent(EventKind::Other, window->number, 0, static_cast<int>(message));
            break;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

// A class that is registered already is used as it is.
void RegisterWindowClass(const wchar_t* className) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ProgramWindowProc;
    windowClass.hInstance = g_windowing.instance;
    windowClass.hIcon = g_windowing.icon;
    windowClass.hCursor = g_windowing.cursor;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = className;
    g_uiOs.RegisterClassW(&windowClass);
}

void Centre(HWND handle) {
    RECT outer;
    GetWindowRect(handle, &outer);
    const int x = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), outer.right - outer.left);
    const int y = CentredOrigin(GetSystemMetrics(SM_CYSCREEN), outer.bottom - outer.top);
    SetWindowPos(handle, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HACCEL MakeTabAccelerators() {
    ACCEL keys[] = {
        {FVIRTKEY | FNOINVERT, VK_TAB, static_cast<WORD>(kNextControlCommand)},
        {FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, static_cast<WORD>(kPreviousControlCommand)},
    };
    return CreateAcceleratorTableW(keys, 2);
}

}  // namespace

bool OpenProgramWindow(int number, int x, int y, int clientWidth, int clientHeight,
                       const wchar_t* title) {
    g_windowing.lastWindow = nullptr;  // no control lands in an older window
    if (g_windowing.windowCount == kMaxProgramWindows) return false;
    ProgramWindow& window = g_windowing.windows[g_windowing.windowCount++];
    window = ProgramWindow{number, nullptr, nullptr, nullptr, {}};
    swprintf(window.className, kWindowClassNameChars, L"%ls%d", kWindowClassPrefix, number);
    RegisterWindowClass(window.className);

    RECT outer = {0, 0, ScaleX(clientWidth), ScaleY(clientHeight)};
    AdjustWindowRectEx(&outer, kProgramWindowStyle, FALSE, 0);
    const bool centred = x == kCentred || y == kCentred;
    HWND handle = g_uiOs.CreateWindowExW(0, window.className, title, kProgramWindowStyle,
                                         centred ? 0 : ScaleX(x), centred ? 0 : ScaleY(y),
                                         outer.right - outer.left, outer.bottom - outer.top,
                                         nullptr, nullptr, g_windowing.instance, &window);
    if (handle == nullptr) {
        UnregisterClassW(window.className, g_windowing.instance);
        RemoveProgramWindow(g_windowing.windowCount - 1);
        return false;
    }
    window.handle = handle;
    if (centred) Centre(handle);
    ShowWindow(handle, SW_SHOWNORMAL);
    window.accelerators = MakeTabAccelerators();
    g_windowing.lastWindow = handle;
    return true;
}

void CloseProgramWindow(int number) {
    ProgramWindow* window = FindWindowByNumber(number);
    if (window == nullptr) return;
    const int index = static_cast<int>(window - g_windowing.windows);
    const ProgramWindow closing = *window;
    if (closing.handle != nullptr) DestroyWindow(closing.handle);
    UnregisterClassW(closing.className, g_windowing.instance);
    if (closing.accelerators != nullptr) DestroyAcceleratorTable(closing.accelerators);
    RemoveWindowEvents(g_windowing.queue, number);
    RemoveProgramWindow(index);
}

HWND LastProgramWindow() { return g_windowing.lastWindow; }
