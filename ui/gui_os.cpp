#include "ui/gui_os.h"

const UiOs kRealUiOs = {
    ::RegisterClassW,   ::CreateWindowExW, ::SystemParametersInfoW, ::CreateSolidBrush,
    ::DeleteObject,     ::PeekMessageW,    ::GetMessageW,           ::MessageBoxW,
    ::CreateProcessW,   ::ShellExecuteExW,
};

UiOs g_uiOs = kRealUiOs;
