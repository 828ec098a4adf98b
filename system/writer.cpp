// Chunks go to WriteFile straight from the caller's memory; the small write
// buffer only ever carries zero-length writes in a real task, but it keeps
// short writes whole should a caller make them.
#include "system/writer.h"

#include <cstring>

#include "system/constants.h"
#include "system/file_os.h"
#include "system/memory.h"

WriterState g_writer = {nullptr, nullptr, kWriteBufferBytes, 0, false, 0};

namespace {

// The code of a failure the system gave no code for still has to read as one.
void NoteFailure(DWORD code, DWORD fallback) {
    if (g_writer.error == 0) g_writer.error = code != 0 ? code : fallback;
}

// One synchronous write of the open file. Failure codes are only asked for
// after a failure, so a good task makes no call beyond the writes themselves.
DWORD WriteToFile(const void* data, DWORD length) {
    DWORD written = 0;
    if (!g_fileOs.WriteFile(g_writer.handle, data, length, &written, nullptr)) {
        NoteFailure(g_fileOs.GetLastError(), ERROR_WRITE_FAULT);
    } else if (written < length) {
        // A short synchronous write means the disk is full.
        NoteFailure(ERROR_DISK_FULL, ERROR_DISK_FULL);
    }
    return written;
}

void WritePending() {
    WriteToFile(g_writer.writeBuffer, static_cast<DWORD>(g_writer.pendingBytes));
    g_writer.pendingBytes = 0;
}

}  // namespace

HANDLE CreateTestFile(const wchar_t* path) {
    HANDLE file = g_fileOs.CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        file = g_fileOs.CreateFileW(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        g_writer.error = 0;
        NoteFailure(g_fileOs.GetLastError(), ERROR_OPEN_FAILED);
        g_writer.handle = nullptr;
        return nullptr;
    }
    g_writer.handle = file;
    g_writer.writeBuffer =
        static_cast<char*>(g_fileOs.HeapAlloc(GeneralHeap(), 0, kWriteBufferBytes));
    g_writer.bufferBytes = kWriteBufferBytes;
    g_writer.pendingBytes = 0;
    g_writer.writing = false;
    g_writer.error = 0;
    return file;
}

int64_t WriteChunk(const void* chunk, int32_t length) {
    if (chunk == nullptr || length <= 0 || g_writer.handle == nullptr) return 0;
    if (g_writer.writeBuffer == nullptr) return WriteToFile(chunk, static_cast<DWORD>(length));
    if (!g_writer.writing) {
        // A move by nothing from the start of the fresh file.
        LONG high = 0;
        g_fileOs.SetFilePointer(g_writer.handle, 0, &high, FILE_CURRENT);
        g_writer.writing = true;
    }
    if (length < g_writer.bufferBytes - g_writer.pendingBytes) {
        std::memcpy(g_writer.writeBuffer + g_writer.pendingBytes, chunk, static_cast<size_t>(length));
        g_writer.pendingBytes += length;
        return length;
    }
    WritePending();  // issued even when nothing is pending
    if (length >= g_writer.bufferBytes) return WriteToFile(chunk, static_cast<DWORD>(length));
    std::memcpy(g_writer.writeBuffer, chunk, static_cast<size_t>(length));
    g_writer.pendingBytes = length;
    return length;
}

void CloseTestFile() {
    if (g_writer.handle == nullptr) return;
    if (g_writer.writeBuffer != nullptr) {
        if (g_writer.writing) WritePending();
        g_fileOs.HeapFree(GeneralHeap(), 0, g_writer.writeBuffer);
        g_writer.writeBuffer = nullptr;
    }
    g_fileOs.CloseHandle(g_writer.handle);
    g_writer.handle = nullptr;
    g_writer.pendingBytes = 0;
    g_writer.writing = false;
}

BOOL ForceDelete(const wchar_t* path) {
    // Clearing the attributes first lets a read-only or hidden file go too.
    g_fileOs.SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    return g_fileOs.DeleteFileW(path);
}

DWORD TestFileError() { return g_writer.error; }
