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
    const std::vector<DWORD>& errors = g_fileRecorder.script.createErrors;
    const size_t index = static_cast<size_t>(g_fileRecorder.createCount++);
    DWORD error = index < errors.size() ? errors[index] : 0;
    if (error == 0 && disposition == CREATE_NEW && g_fileRecorder.fileThere) error = ERROR_FILE_EXISTS;
    if (error == 0 && disposition == OPEN_EXISTING && !g_fileRecorder.fileThere) error = ERROR_FILE_NOT_FOUND;
    if (error != 0) {
        g_fileRecorder.lastError = error;
        return INVALID_HANDLE_VALUE;
    }
    g_fileRecorder.fileThere = true;
    g_fileRecorder.openedPath = path;
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
    if (g_fileRecorder.deleteOnClose) g_fileRecorder.fileThere = false;
    g_fileRecorder.deleteOnClose = false;
    return TRUE;
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

BOOL WINAPI FakeGetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION info) {
    Note(FileCall::GetFileInformation).handle = file;
    if (g_fileRecorder.script.infoFails) {
        g_fileRecorder.lastError = ERROR_INVALID_FUNCTION;
        return FALSE;
    }
    *info = BY_HANDLE_FILE_INFORMATION{};
    info->dwFileAttributes = g_fileRecorder.script.fileAttributes;
    info->nNumberOfLinks = g_fileRecorder.script.linkCount;
    return TRUE;
}

// As the system does: the characters copied without the terminator, or, when
// the room is too small, the room needed with it.
DWORD AnswerPath(const std::wstring& answer, LPWSTR room, DWORD roomChars) {
    if (answer.size() + 1 > roomChars) return static_cast<DWORD>(answer.size() + 1);
    std::copy(answer.begin(), answer.end(), room);
    room[answer.size()] = L'\0';
    return static_cast<DWORD>(answer.size());
}

DWORD WINAPI FakeGetFinalPathNameByHandleW(HANDLE file, LPWSTR room, DWORD roomChars, DWORD flags) {
    FileCallRecord& r = Note(FileCall::GetFinalPathName);
    r.handle = file;
    r.bytes = roomChars;
    r.flags = flags;
    if (g_fileRecorder.script.finalPathFails) {
        g_fileRecorder.lastError = ERROR_INVALID_FUNCTION;
        return 0;
    }
    const std::wstring& scripted = g_fileRecorder.script.finalPath;
    return AnswerPath(scripted.empty() ? L"\\\\?\\" + g_fileRecorder.openedPath : scripted, room, roomChars);
}

DWORD WINAPI FakeGetFullPathNameW(LPCWSTR path, DWORD roomChars, LPWSTR room, LPWSTR* filePart) {
    FileCallRecord& r = Note(FileCall::GetFullPathName);
    r.path = path;
    r.bytes = roomChars;
    r.extrasNull = filePart == nullptr;
    if (g_fileRecorder.script.fullPathFails) {
        g_fileRecorder.lastError = ERROR_INVALID_NAME;
        return 0;
    }
    const std::wstring& scripted = g_fileRecorder.script.fullPath;
    return AnswerPath(scripted.empty() ? std::wstring(path) : scripted, room, roomChars);
}

BOOL WINAPI FakeSetEndOfFile(HANDLE file) {
    Note(FileCall::SetEndOfFile).handle = file;
    if (g_fileRecorder.script.setEndError == 0) return TRUE;
    g_fileRecorder.lastError = g_fileRecorder.script.setEndError;
    return FALSE;
}

BOOL WINAPI FakeSetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID record,
                                           DWORD bytes) {
    FileCallRecord& r = Note(FileCall::SetFileInformation);
    r.handle = file;
    r.disposition = static_cast<DWORD>(kind);
    r.bytes = bytes;
    if (kind == FileBasicInfo) r.flags = static_cast<const FILE_BASIC_INFO*>(record)->FileAttributes;
    if (kind != FileDispositionInfo) return TRUE;
    const BOOLEAN marked = *static_cast<const BOOLEAN*>(record);
    r.flags = marked;
    if (g_fileRecorder.script.deleteError != 0) {
        g_fileRecorder.lastError = g_fileRecorder.script.deleteError;
        return FALSE;
    }
    g_fileRecorder.deleteOnClose = marked != 0;
    return TRUE;
}

const FileOs kRecordingFileOs = {
    FakeCreateFileW,
    FakeWriteFile,
    FakeSetFilePointer,
    FakeCloseHandle,
    FakeHeapAlloc,
    FakeHeapFree,
    FakeGetLastError,
    FakeGetFileInformationByHandle,
    FakeGetFinalPathNameByHandleW,
    FakeGetFullPathNameW,
    FakeSetEndOfFile,
    FakeSetFileInformationByHandle,
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
    g_fileRecorder.openedPath.clear();
    g_fileRecorder.fileThere = script.fileThere;
    g_fileRecorder.deleteOnClose = false;
    g_fileOs = kRecordingFileOs;
}

void RemoveFileOsRecorder() { g_fileOs = kRealFileOs; }

int CountFileCalls(FileCall call) {
    return static_cast<int>(std::count_if(g_fileRecorder.calls.begin(), g_fileRecorder.calls.end(),
                                          [call](const FileCallRecord& r) { return r.call == call; }));
}
