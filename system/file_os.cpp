#include "system/file_os.h"

const FileOs kRealFileOs = {
    ::CreateFileW, ::WriteFile,   ::SetFilePointer, ::CloseHandle,  ::SetFileAttributesW,
    ::DeleteFileW, ::HeapAlloc,   ::HeapFree,       ::GetLastError,
};

FileOs g_fileOs = kRealFileOs;
