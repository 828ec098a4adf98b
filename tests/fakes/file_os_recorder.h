// A stand-in for the file seam that notes every call with its arguments and
// answers as a test scripts it. No file is touched; the write buffer it hands
// out is real memory, and writes of up to one buffer keep a copy of their bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "system/file_os.h"

enum class FileCall {
    CreateFile, WriteFile, SetFilePointer, CloseHandle, SetFileAttributes, DeleteFile,
    HeapAlloc, HeapFree, GetLastError,
};

struct FileCallRecord {
    FileCall call;
    std::wstring path;      // CreateFile, SetFileAttributes, DeleteFile
    HANDLE handle;          // file or heap handle
    DWORD access;           // CreateFile
    DWORD share;            // CreateFile
    DWORD disposition;      // CreateFile; move method of SetFilePointer
    DWORD flags;            // CreateFile flags, attributes, heap flags
    bool extrasNull;        // no security, template or overlapped record was passed
    const void* data;       // WriteFile source, HeapFree block
    SIZE_T bytes;           // WriteFile length, HeapAlloc size
    LONG distance;          // SetFilePointer
    bool highGiven;         // SetFilePointer got a high part to read
    LONG high;              // its value at the call
    std::string content;    // bytes of a WriteFile of up to one write buffer
};

// What the next calls answer. Counts of calls start at 0 in each script.
struct FileOsScript {
    int failingCreates = 0;        // the first this many CreateFileW calls fail
    DWORD createError = ERROR_ACCESS_DENIED;
    bool heapAllocFails = false;
    int failingWrite = -1;         // index of the WriteFile call that returns FALSE
    DWORD writeError = ERROR_DISK_FULL;
    int shortWrite = -1;           // index of the WriteFile call that comes up short
    DWORD shortWriteBytes = 0;     // what that call reports
    BOOL deleteResult = TRUE;
    BOOL attributesResult = TRUE;
};

struct FileOsRecorder {
    FileOsScript script;
    std::vector<FileCallRecord> calls;
    int createCount;
    int writeCount;
    DWORD lastError;
};

extern FileOsRecorder g_fileRecorder;

// The handle every successful fake CreateFileW returns.
HANDLE FakeFileHandle();
// The block every successful fake HeapAlloc returns (kWriteBufferBytes long).
void* FakeWriteBuffer();

void InstallFileOsRecorder(const FileOsScript& script);  // fresh record, g_fileOs swapped
void RemoveFileOsRecorder();                             // g_fileOs back to the real one
int CountFileCalls(FileCall call);
