// The test file writer: everything the program does to the target drive.
#pragma once

#include <cstdint>

#include "system/win.h"

struct WriterState {
    HANDLE handle;           // the open test file; null while closed
    char* writeBuffer;       // 4096 bytes from the general heap; null when that failed
    int32_t bufferBytes;     // always kWriteBufferBytes
    int32_t pendingBytes;    // held in the write buffer, not yet written; 0 in every task
    bool writing;            // set by the first WriteChunk after creation
    DWORD error;             // the system's code for the first failure since creation; 0 if none
};

extern WriterState g_writer;

// ---- Test file ----
HANDLE CreateTestFile(const wchar_t* path);          // null when the file could not be made
int64_t WriteChunk(const void* chunk, int32_t length);  // bytes taken, 0 when nothing was done
void CloseTestFile();
BOOL ForceDelete(const wchar_t* path);  // nonzero when the file was removed; never through a link

// The system's code for the failure that stopped the file, or 0. A write that
// the system reports as done but that comes up short counts as a full disk;
// anything at the path but a plain leftover file is ERROR_CANT_ACCESS_FILE.
DWORD TestFileError();
