#include "gui_test_support.h"

#include <ostream>

void GuiTest::SetUp() { SetUpWindowing(GetModuleHandleW(nullptr)); }

void GuiTest::TearDown() {
    TearDownWindowing();
    RemoveUiOsRecorder();
    HoldShift(false);
    while (g_windowing.queue.count > 0) WaitEvent();  // nothing left for the next test
}

HWND WindowHandle(int number) {
    const ProgramWindow* window = FindWindowByNumber(number);
    return window != nullptr ? window->handle : nullptr;
}

std::vector<Event> ReadEventsUntilMarker(int window) {
    std::vector<Event> events;
    PostMessageW(WindowHandle(window), kMarkerMessage, 0, 0);
    for (int reads = 0; reads < 10000; ++reads) {
        const Event event = WaitEvent();
        if (event.kind == EventKind::Other && event.type == static_cast<int>(kMarkerMessage)) break;
        events.push_back(event);
    }
    return events;
}

bool ReadEventsUntil(int window, const std::function<bool(const Event&)>& wanted,
                     std::vector<Event>* read, int deadlineMs) {
    constexpr UINT_PTR kWakeTimer = 0x5157;
    HWND handle = WindowHandle(window);
    SetTimer(handle, kWakeTimer, 20, nullptr);
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(deadlineMs);
    bool found = false;
    while (!found && GetTickCount64() <= deadline) {
        const Event event = WaitEvent();
        if (read != nullptr) read->push_back(event);
        found = wanted(event);
    }
    if (IsWindow(handle)) KillTimer(handle, kWakeTimer);
    return found;
}

std::vector<Event> ControlEventsOf(const std::vector<Event>& events) {
    std::vector<Event> found;
    for (const Event& event : events) {
        if (event.kind == EventKind::Control) found.push_back(event);
    }
    return found;
}

bool SameEvent(const Event& a, const Event& b) {
    return a.kind == b.kind && a.window == b.window && a.control == b.control && a.type == b.type;
}

bool WaitUntil(const std::function<bool()>& condition, int deadlineMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(deadlineMs);
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() > deadline) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([window] { return GetForegroundWindow() == window && GetActiveWindow() == window; });
}

void ClickAt(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

POINT CentreOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void HoldShift(bool held) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = held ? 0x80 : 0;
    keys[VK_LSHIFT] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::ostream& operator<<(std::ostream& out, const Event& event) {
    const char* kinds[] = {"control", "close", "other"};
    return out << "{" << kinds[static_cast<int>(event.kind)] << " window " << event.window
               << " control " << event.control << " type 0x" << std::hex << event.type << std::dec
               << "}";
}
