// The window machinery's tables, shared by its files. They belong to the
// user-interface thread; nothing here is locked.
#pragma once

#include <cstdint>

#include "system/constants.h"
#include "ui/gui.h"
#include "ui/gui_internal.h"

struct ProgramWindow {
    int number;
    HWND handle;           // null once the window is destroyed
    HACCEL accelerators;
    HWND lastFocus;        // the control focused when the window was last deactivated
    wchar_t className[kWindowClassNameChars];
};

struct Control {
    int number;
    HWND handle;
    HWND window;           // its program window
    int windowNumber;
    CommandFilter filter;  // null for the machinery's own kinds
    uint32_t colour;       // background, valid while brush is set
    HBRUSH brush;          // shared with every label of the same colour
};

struct SharedBrush {
    uint32_t colour;
    HBRUSH brush;
    int users;
};

// A ring: events[first] is the oldest of count events.
struct EventQueue {
    Event events[kEventQueueCapacity];
    int first;
    int count;
};

struct Windowing {
    HINSTANCE instance;
    int dpiX = kLogicalDpi;  // until the screen is read
    int dpiY = kLogicalDpi;
    HICON icon;
    HCURSOR cursor;
    HFONT font;
    ProgramWindow windows[kMaxProgramWindows];  // in opening order
    int windowCount;
    HWND lastWindow;                            // parent of the next control
    Control controls[kMaxControls];             // in creation order, which is the Tab order
    int controlCount;
    SharedBrush brushes[kMaxControls];          // a label holds at most one
    int brushCount;
    EventQueue queue;
    int quietDepth;                             // SetControlText runs: nothing is queued
};

extern Windowing g_windowing;

// ---- Looking up ----
ProgramWindow* FindWindowByHandle(HWND handle);  // open windows only
ProgramWindow* FindWindowByNumber(int number);   // also one destroyed but not yet closed
Control* FindControlByHandle(HWND handle);
Control* FindControlByNumber(int number);
bool AnyProgramWindowOpen();
int WindowNumberOf(HWND handle);  // of the program window holding it, 0 for none

// ---- Recording and forgetting ----
bool RecordControl(HWND handle, int number, HWND window, CommandFilter filter);  // false when full
void ForgetControl(HWND handle);        // releases its brush and drops its events
void ForgetWindowControls(HWND window);
void RemoveProgramWindow(int index);

// ---- Events, under the queue's rules ----
void RaiseEvent(EventKind kind, int window, int control, int type);
