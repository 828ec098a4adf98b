// Label backgrounds: the shared, counted brush list and the colour answer.
#pragma once

#include "system/win.h"

void ReleaseBrush(HBRUSH brush);  // deleted when its last user lets go
LRESULT OnCtlColorStatic(HWND window, WPARAM dc, LPARAM label);
