#include "ui/gui_state.h"

#include "ui/gui_brushes.h"
#include "ui/gui_queue.h"

Windowing g_windowing;

ProgramWindow* FindWindowByHandle(HWND handle) {
    if (handle == nullptr) return nullptr;
    for (int i = 0; i < g_windowing.windowCount; ++i) {
        if (g_windowing.windows[i].handle == handle) return &g_windowing.windows[i];
    }
    return nullptr;
}

ProgramWindow* FindWindowByNumber(int number) {
    for (int i = 0; i < g_windowing.windowCount; ++i) {
        if (g_windowing.windows[i].number == number) return &g_windowing.windows[i];
    }
    return nullptr;
}

Control* FindControlByHandle(HWND handle) {
    if (handle == nullptr) return nullptr;
    for (int i = 0; i < g_windowing.controlCount; ++i) {
        if (g_windowing.controls[i].handle == handle) return &g_windowing.controls[i];
    }
    return nullptr;
}

Control* FindControlByNumber(int number) {
    for (int i = 0; i < g_windowing.controlCount; ++i) {
        if (g_windowing.controls[i].number == number) return &g_windowing.controls[i];
    }
    return nullptr;
}

bool AnyProgramWindowOpen() {
    for (int i = 0; i < g_windowing.windowCount; ++i) {
        if (g_windowing.windows[i].handle != nullptr) return true;
    }
    return false;
}

int WindowNumberOf(HWND handle) {
    if (handle == nullptr) return 0;
    const ProgramWindow* window = FindWindowByHandle(GetAncestor(handle, GA_ROOT));
    return window != nullptr ? window->number : 0;
}

bool RecordControl(HWND handle, int number, HWND window, CommandFilter filter) {
    if (g_windowing.controlCount == kMaxControls) return false;
    const ProgramWindow* owner = FindWindowByHandle(window);
    g_windowing.controls[g_windowing.controlCount++] =
        Control{number, handle, window, owner != nullptr ? owner->number : 0, filter, 0, nullptr};
    return true;
}

namespace {

void ForgetControlAt(int index) {
    Control& control = g_windowing.controls[index];
    if (control.brush != nullptr) ReleaseBrush(control.brush);
    RemoveControlEvents(g_windowing.queue, control.windowNumber, control.number);
    for (int i = index; i + 1 < g_windowing.controlCount; ++i) {
        g_windowing.controls[i] = g_windowing.controls[i + 1];
    }
    --g_windowing.controlCount;
}

}  // namespace

void ForgetControl(HWND handle) {
    for (int i = 0; i < g_windowing.controlCount; ++i) {
        if (g_windowing.controls[i].handle == handle) {
            ForgetControlAt(i);
            return;
        }
    }
}

void ForgetWindowControls(HWND window) {
    for (int i = g_windowing.controlCount - 1; i >= 0; --i) {
        if (g_windowing.controls[i].window == window) ForgetControlAt(i);
    }
}

void RemoveProgramWindow(int index) {
    for (int i = index; i + 1 < g_windowing.windowCount; ++i) {
        g_windowing.windows[i] = g_windowing.windows[i + 1];
    }
    --g_windowing.windowCount;
}

void RaiseEvent(EventKind kind, int window, int control, int type) {
    if (g_windowing.quietDepth > 0) return;
    PushEvent(g_windowing.queue, Event{kind, window, control, type});
}
