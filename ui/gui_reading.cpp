// Reading events: the queue first, then one window message of the thread.
#include "ui/gui.h"
#include "ui/gui_navigation.h"
#include "ui/gui_os.h"
#include "ui/gui_queue.h"
#include "ui/gui_state.h"

namespace {

bool ModifierHeld() {
    return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0;
}

// Handles one message; the result is an event of another kind, carrying the
// message, while what the window procedures raised waits in the queue.
Event HandleMessage(MSG& message) {
    const Event read = {EventKind::Other, WindowNumberOf(message.hwnd), 0,
                        static_cast<int>(message.message)};
    HWND active = GetActiveWindow();
    if (ModifierHeld()) ShowKeyboardCues(active);
    const ProgramWindow* window = FindWindowByHandle(active);
    const bool translated = window != nullptr && window->accelerators != nullptr &&
                            TranslateAcceleratorW(active, window->accelerators, &message);
    if (!translated) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return read;
}

}  // namespace

// With no program window left nothing could ever arrive: that reads as a
// close, and so does a quit message or a broken message queue.
Event WaitEvent() {
    Event event;
    if (TakeEvent(g_windowing.queue, &event)) return event;
    const Event closed = {EventKind::Close, 0, 0, 0};
    if (!AnyProgramWindowOpen()) return closed;
    MSG message;
    const BOOL got = g_uiOs.GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) return closed;
    return HandleMessage(message);
}

// Called before every chunk a run writes: when nothing is pending this is one
// empty look at the message queue.
void PumpEvents() {
    for (;;) {
        Event dropped;
        if (TakeEvent(g_windowing.queue, &dropped)) continue;
        MSG message;
        if (!g_uiOs.PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return;
        HandleMessage(message);
    }
}
