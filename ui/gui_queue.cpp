#include "ui/gui_queue.h"

namespace {

Event& At(EventQueue& queue, int position) {
    return queue.events[(queue.first + position) % kEventQueueCapacity];
}

bool SameEvent(const Event& a, const Event& b) {
    return a.kind == b.kind && a.window == b.window && a.control == b.control && a.type == b.type;
}

// Keeps, in order, the events for which drop is false.
template <typename Drop>
void RemoveEvents(EventQueue& queue, Drop drop) {
    int kept = 0;
    for (int i = 0; i < queue.count; ++i) {
        const Event event = At(queue, i);
        if (!drop(event)) At(queue, kept++) = event;
    }
    queue.count = kept;
}

// Drops the oldest event that means nothing to the program; false if none.
bool DropOldestOther(EventQueue& queue) {
    for (int i = 0; i < queue.count; ++i) {
        if (At(queue, i).kind != EventKind::Other) continue;
        for (int j = i; j + 1 < queue.count; ++j) At(queue, j) = At(queue, j + 1);
        --queue.count;
        return true;
    }
    return false;
}

}  // namespace

void PushEvent(EventQueue& queue, const Event& event) {
    if (queue.count > 0 && SameEvent(At(queue, queue.count - 1), event)) return;
    if (queue.count == kEventQueueCapacity) {
        if (event.kind == EventKind::Other || !DropOldestOther(queue)) return;
    }
    At(queue, queue.count++) = event;
}

bool TakeEvent(EventQueue& queue, Event* event) {
    if (queue.count == 0) return false;
    *event = At(queue, 0);
    queue.first = (queue.first + 1) % kEventQueueCapacity;
    --queue.count;
    return true;
}

void RemoveWindowEvents(EventQueue& queue, int window) {
    RemoveEvents(queue, [window](const Event& event) { return event.window == window; });
}

void RemoveControlEvents(EventQueue& queue, int window, int control) {
    RemoveEvents(queue, [window, control](const Event& event) {
        return event.kind == EventKind::Control && event.window == window &&
               event.control == control;
    });
}
