#include "system/file_os.h"

const FileOs kRealFileOs = {
    ::CreateFileW,
    ::WriteFile,
    ::SetFilePointer,
    ::CloseHandle,
    ::HeapAlloc,
    ::HeapFree,
    ::GetLastError,
    ::GetFileInformationByHandle,
    ::GetFinalPathNameByHandleW,
    ::GetFullPathNameW,
    ::SetEndOfFile,
    ::SetFileInformationByHandle,
};

FileOs g_fileOs = kRealFileOs;
