// The event queue's rules, apart from any window, so they can be checked alone.
#pragma once

#include "ui/gui_state.h"

// Adds at the end unless the last event is the same. A full queue makes room
// for a control or close event by dropping its oldest event of another kind.
void PushEvent(EventQueue& queue, const Event& event);
bool TakeEvent(EventQueue& queue, Event* event);  // false when empty
void RemoveWindowEvents(EventQueue& queue, int window);
void RemoveControlEvents(EventQueue& queue, int window, int control);
