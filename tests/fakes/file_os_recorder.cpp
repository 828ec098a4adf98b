#include "fakes/file_os_recorder.h"

#include <algorithm>

#include "system/constants.h"

FileOsRecorder g_fileRecorder;

namespace {

alignas(16) char g_writeBuffer[kWriteBufferBytes];

FileCallRecord& Note(FileCall call) {
    g_fileRecorder.calls.push_back(FileCallRecord{call, {}, nullptr, 0, 0, 0, 0, true, nullptr,
                                                  0, 0, false, 0, {}});
    return g_fileRecorder.calls.back();
}

HANDLE WINAPI FakeCreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile) {
    FileCallRecord& r = Note(FileCall::CreateFile);
    r.path = path;
    r.access = access;
    r.share = share;
    r.disposition = disposition;
    r.flags = flags;
    r.extrasNull = security == nullptr && templateFile == nullptr;
    if (g_fileRecorder.createCount++ < g_fileRecorder.script.failingCreates) {
        g_fileRecorder.lastError = g_fileRecorder.script.createError;
        return INVALID_HANDLE_VALUE;
    }
    return FakeFileHandle();
}

BOOL WINAPI FakeWriteFile(HANDLE file, LPCVOID data, DWORD length, LPDWORD written,
                          LPOVERLAPPED overlapped) {
    FileCallRecord& r = Note(FileCall::WriteFile);
    r.handle = file;
    r.data = data;
    r.bytes = length;
    r.extrasNull = overlapped == nullptr;
    if (length <= static_cast<DWORD>(kWriteBufferBytes)) {
        r.content.assign(static_cast<const char*>(data), length);
    }
    const int index = g_fileRecorder.writeCount++;
    if (index == g_fileRecorder.script.failingWrite) {
        *written = 0;
        g_fileRecorder.lastError = g_fileRecorder.script.writeError;
        return FALSE;
    }
    *written = index == g_fileRecorder.script.shortWrite ? g_fileRecorder.script.shortWriteBytes : length;
    return TRUE;
}

DWORD WINAPI FakeSetFilePointer(HANDLE file, LONG distance, PLONG high, DWORD method) {
    FileCallRecord& r = Note(FileCall::SetFilePointer);
    r.handle = file;
    r.distance = distance;
    r.highGiven = high != nullptr;
    r.high = high != nullptr ? *high : 0;
    r.disposition = method;
    return 0;
}

BOOL WINAPI FakeCloseHandle(HANDLE file) {
    Note(FileCall::CloseHandle).handle = file;
    return TRUE;
}

BOOL WINAPI FakeSetFileAttributesW(LPCWSTR path, DWORD attributes) {
    FileCallRecord& r = Note(FileCall::SetFileAttributes);
    r.path = path;
    r.flags = attributes;
    if (!g_fileRecorder.script.attributesResult) g_fileRecorder.lastError = ERROR_FILE_NOT_FOUND;
    return g_fileRecorder.script.attributesResult;
}

BOOL WINAPI FakeDeleteFileW(LPCWSTR path) {
    Note(FileCall::DeleteFile).path = path;
    if (!g_fileRecorder.script.deleteResult) g_fileRecorder.lastError = ERROR_FILE_NOT_FOUND;
    return g_fileRecorder.script.deleteResult;
}

LPVOID WINAPI FakeHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    FileCallRecord& r = Note(FileCall::HeapAlloc);
    r.handle = heap;
    r.flags = flags;
    r.bytes = bytes;
    return g_fileRecorder.script.heapAllocFails ? nullptr : FakeWriteBuffer();
}

BOOL WINAPI FakeHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
    FileCallRecord& r = Note(FileCall::HeapFree);
    r.handle = heap;
    r.flags = flags;
    r.data = block;
    return TRUE;
}

DWORD WINAPI FakeGetLastError() {
    Note(FileCall::GetLastError);
    return g_fileRecorder.lastError;
}

const FileOs kRecordingFileOs = {
    FakeCreateFileW, FakeWriteFile, FakeSetFilePointer, FakeCloseHandle, FakeSetFileAttributesW,
    FakeDeleteFileW, FakeHeapAlloc, FakeHeapFree,       FakeGetLastError,
};

}  // namespace

HANDLE FakeFileHandle() { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x4F11E)); }
void* FakeWriteBuffer() { return g_writeBuffer; }

void InstallFileOsRecorder(const FileOsScript& script) {
    g_fileRecorder.script = script;
    g_fileRecorder.calls.clear();
    g_fileRecorder.createCount = 0;
    g_fileRecorder.writeCount = 0;
    g_fileRecorder.lastError = 0;
    g_fileOs = kRecordingFileOs;
}

void RemoveFileOsRecorder() { g_fileOs = kRealFileOs; }

int CountFileCalls(FileCall call) {
    return static_cast<int>(std::count_if(g_fileRecorder.calls.begin(), g_fileRecorder.calls.end(),
                                          [call](const FileCallRecord& r) { return r.call == call; }));
}
