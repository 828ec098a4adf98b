// Keyboard navigation between the controls of a program window, and the
// keyboard cues that go with it.
#pragma once

#include "system/win.h"

void MoveFocus(HWND window, bool forward);  // Tab or Shift+Tab
void ShowKeyboardCues(HWND window);         // when a cue is hidden
void HideKeyboardCues(HWND window);         // unless both are hidden already
