#include "ui/select_os.h"

const SelectOs kRealSelectOs = {
    ::SHGetFolderLocation, ::SHGetPathFromIDListW, ::CoTaskMemFree, ::SHGetFileInfoW,
    ::GetLogicalDrives,    ::SetErrorMode,         ::GetWindowsDirectoryW, ::CreateWindowExW,
};

SelectOs g_selectOs = kRealSelectOs;
