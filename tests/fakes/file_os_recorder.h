// A stand-in for the file seam that notes every call with its arguments and
// answers as a test scripts it. No file is touched: it only keeps whether one
// file stands at the path, made by CREATE_NEW and gone when a handle marked for
// deletion closes. The write buffer it hands out is real memory, and writes of
// up to one buffer keep a copy of their bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "system/file_os.h"

enum class FileCall {
    CreateFile, WriteFile, SetFilePointer, CloseHandle, HeapAlloc, HeapFree, GetLastError,
    GetFileInformation, GetFinalPathName, GetFullPathName, SetEndOfFile, SetFileInformation,
};

struct FileCallRecord {
    FileCall call;
    std::wstring path;      // CreateFile, GetFullPathName
    HANDLE handle;          // file or heap handle
    DWORD access;           // CreateFile
    DWORD share;            // CreateFile
    DWORD disposition;      // CreateFile; move method of SetFilePointer; SetFileInformation class
    DWORD flags;            // CreateFile flags, heap flags, GetFinalPathName flags;
                            // SetFileInformation: the attributes, or the deletion flag
    bool extrasNull;        // no security, template or overlapped record was passed
    const void* data;       // WriteFile source, HeapFree block
    SIZE_T bytes;           // WriteFile length, HeapAlloc size, SetFileInformation record size;
                            // characters of room of a path query
    LONG distance;          // SetFilePointer
    bool highGiven;         // SetFilePointer got a high part to read
    LONG high;              // its value at the call
    std::string content;    // bytes of a WriteFile of up to one write buffer
};

// What the next calls answer. Counts of calls start at 0 in each script.
struct FileOsScript {
    bool fileThere = false;        // a file stands at the path at the start
    // CreateFileW call k fails with createErrors[k] unless that is 0; the
    // others answer as the file at the path allows.
    std::vector<DWORD> createErrors;
    bool heapAllocFails = false;
    int failingWrite = -1;         // index of the WriteFile call that returns FALSE
    DWORD writeError = ERROR_DISK_FULL;
    int shortWrite = -1;           // index of the WriteFile call that comes up short
    DWORD shortWriteBytes = 0;     // what that call reports
    // What a file opened at the path turns out to be.
    bool infoFails = false;
    DWORD fileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    DWORD linkCount = 1;
    bool finalPathFails = false;
    std::wstring finalPath;        // empty: "\\?\" and the path last opened
    bool fullPathFails = false;
    std::wstring fullPath;         // empty: the path asked about, as it is
    DWORD setEndError = 0;         // SetEndOfFile fails with this unless 0
    DWORD deleteError = 0;         // marking the file for deletion fails with this unless 0
};

struct FileOsRecorder {
    FileOsScript script;
    std::vector<FileCallRecord> calls;
    int createCount;
    int writeCount;
    DWORD lastError;
    std::wstring openedPath;  // of the last CreateFileW that succeeded
    bool fileThere;
    bool deleteOnClose;       // the file goes when the handle closes
};

extern FileOsRecorder g_fileRecorder;

// The handle every successful fake CreateFileW returns, whatever it opened.
HANDLE FakeFileHandle();
// The block every successful fake HeapAlloc returns (kWriteBufferBytes long).
void* FakeWriteBuffer();

void InstallFileOsRecorder(const FileOsScript& script);  // fresh record, g_fileOs swapped
void RemoveFileOsRecorder();                             // g_fileOs back to the real one
int CountFileCalls(FileCall call);
