// What the selection dialog needs from the window machinery to make a control
// kind of its own (the drive list). Nothing else uses these.
#pragma once

#include "system/win.h"

int ScaleX(int logical);
int ScaleY(int logical);
HFONT UiFont();
HWND LastProgramWindow();     // parent of the next control
HWND ControlHandle(int number);  // null when no such control

// Registers a control made outside AddControl with the machinery, so its
// WM_COMMAND notifications become events and its events die with it.
// The filter sees each notification first; returning true consumes it.
using CommandFilter = bool (*)(HWND control, int notification);
void RegisterControl(HWND control, int number, CommandFilter filter);

// Queues a control event of that control, as the machinery does for its own.
void RaiseControlEvent(HWND control, int type);
