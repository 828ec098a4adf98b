// What the window machinery's tests share: a fixture that sets the machinery
// up and tears it down, reading events up to a marker, and real input.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "gui_os_recorder.h"
#include "ui/gui.h"
#include "ui/gui_internal.h"
#include "ui/gui_state.h"

// Posted behind what a test did: every event raised before it is read first.
constexpr UINT kMarkerMessage = WM_APP + 0x4D;
constexpr int kWaitDeadlineMs = 5000;

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

HWND WindowHandle(int number);

// Every event WaitEvent hands out until the marker posted to the window comes
// back (the marker's own read is left out).
std::vector<Event> ReadEventsUntilMarker(int window);
// Reads events until one matches or the deadline passes, with a timer on the
// window so that a read never blocks for long; for input that arrives later.
bool ReadEventsUntil(int window, const std::function<bool(const Event&)>& wanted,
                     std::vector<Event>* read = nullptr, int deadlineMs = kWaitDeadlineMs);
std::vector<Event> ControlEventsOf(const std::vector<Event>& events);
bool SameEvent(const Event& a, const Event& b);

// Polls until the condition holds, handling messages without the machinery;
// false when the deadline passes first.
bool WaitUntil(const std::function<bool()>& condition, int deadlineMs = kWaitDeadlineMs);

// Makes the window the foreground and active one, as a user's click would.
bool BringToFront(HWND window);

// Real input, through the system's input queue.
void ClickAt(POINT screen);
void PressKeys(std::initializer_list<WORD> keys);  // down in order, then up in reverse
POINT CentreOnScreen(HWND window);

// The thread's keyboard state with Shift held or let go.
void HoldShift(bool held);

std::ostream& operator<<(std::ostream& out, const Event& event);
