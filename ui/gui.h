// Window and event machinery: program windows, their controls and the events
// they raise. Outside this unit windows and controls are named by number only.
#pragma once

#include <cstdint>

#include "system/win.h"

enum class EventKind { Control, Close, Other };

// Types of a control event besides the WM_COMMAND notification codes.
constexpr int kEventFocusGained = 0x10001;
constexpr int kEventFocusLost = 0x10002;

struct Event {
    EventKind kind;
    int window;   // number of the program window
    int control;  // number of the control, for a control event
    int type;     // notification code, or focus gained / lost
};

enum class ControlKind { Label, ValueField, Button };

constexpr int kCentred = INT32_MIN;  // as x and y: centre on the primary screen

// ---- Set-up and tear-down ----
void SetUpWindowing(HINSTANCE instance);  // scale, icon, cursor, font, common controls, COM
void TearDownWindowing();                 // closes every program window, releases the icon

// ---- Windows and controls (false when the window or control could not be made) ----
bool OpenProgramWindow(int number, int x, int y, int clientWidth, int clientHeight,
                       const wchar_t* title);
bool AddControl(ControlKind kind, int number, int x, int y, int width, int height,
                const wchar_t* text);
void CloseProgramWindow(int number);

// ---- Events ----
Event WaitEvent();
void PumpEvents();

// ---- Changing controls ----
void SetControlText(int number, const wchar_t* text);
void SetLabelBackground(int number, uint32_t colour);
void SetControlEnabled(int number, bool enabled);

// ---- Messages and documents ----
void ShowMessage(const wchar_t* title, const wchar_t* text);
void OpenDocument(const wchar_t* address);
