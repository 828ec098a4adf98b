// Chunks go to WriteFile straight from the caller's memory; the small write
// buffer only ever carries zero-length writes in a real task, but it keeps
// short writes whole should a caller make them.
#include "system/writer.h"

#include <cstring>
#include <cwchar>

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

// A path as the system spells it with or without the long-path prefix, and
// whether it names a network share.
const wchar_t* WithoutLongPrefix(const wchar_t* path, bool* share) {
    *share = false;
    if (std::wcsncmp(path, L"\\\\?\\UNC\\", 8) == 0) {
        *share = true;
        return path + 8;
    }
    if (std::wcsncmp(path, L"\\\\?\\", 4) == 0) return path + 4;
    if (std::wcsncmp(path, L"\\\\", 2) == 0) {
        *share = true;
        return path + 2;
    }
    return path;
}

// Folds ASCII letters only: names that differ in any other letter count as
// different, which can only refuse a leftover, never accept a wrong one.
wchar_t FoldAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool SamePath(const wchar_t* finalPath, const wchar_t* fullPath) {
    bool finalOnShare = false;
    bool fullOnShare = false;
    const wchar_t* a = WithoutLongPrefix(finalPath, &finalOnShare);
    const wchar_t* b = WithoutLongPrefix(fullPath, &fullOnShare);
    if (finalOnShare != fullOnShare) return false;
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b)) return false;
    }
    return *a == *b;
}

// Whether the opened file is the one the path names itself, not one reached
// through a link on the way.
bool IsReachedDirectly(HANDLE file, const wchar_t* path) {
    wchar_t opened[kCheckedPathChars];
    const DWORD openedChars = g_fileOs.GetFinalPathNameByHandleW(file, opened, kCheckedPathChars,
                                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (openedChars == 0 || openedChars >= kCheckedPathChars) return false;
    wchar_t asked[kCheckedPathChars];
    const DWORD askedChars = g_fileOs.GetFullPathNameW(path, kCheckedPathChars, asked, nullptr);
    if (askedChars == 0 || askedChars >= kCheckedPathChars) return false;
    return SamePath(opened, asked);
}

// The leftover may be reused only as one plain file with no other name,
// reached by the path itself.
bool IsPlainLeftover(HANDLE file, const wchar_t* path) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!g_fileOs.GetFileInformationByHandle(file, &info)) return false;
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) return false;
    if (info.nNumberOfLinks != 1) return false;
    return IsReachedDirectly(file, path);
}

// What is already at the path, opened without following a link, checked, and
// cut to nothing; null (with the reason noted) when it is refused or fails.
HANDLE OpenLeftover(const wchar_t* path) {
    HANDLE file = g_fileOs.CreateFileW(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        NoteFailure(g_fileOs.GetLastError(), ERROR_OPEN_FAILED);
        return nullptr;
    }
    if (!IsPlainLeftover(file, path)) {
        g_fileOs.CloseHandle(file);
        NoteFailure(ERROR_CANT_ACCESS_FILE, ERROR_CANT_ACCESS_FILE);
        return nullptr;
    }
    // A fresh handle stands at offset 0, so this cuts the whole file.
    if (!g_fileOs.SetEndOfFile(file)) {
        NoteFailure(g_fileOs.GetLastError(), ERROR_WRITE_FAULT);
        g_fileOs.CloseHandle(file);
        return nullptr;
    }
    return file;
}

}  // namespace

// Runs as administrator in a folder anyone may write, so a link planted by
// the test file's name must never steer it onto another file. CREATE_NEW
// follows nothing: it fails when any name is there (a file, a link, even a
// dangling one). Only then is that leftover opened without following a
// reparse point and judged by its handle, so what is checked is what gets
// truncated. A link, a folder, a file with a second name, or one the path does
// not reach directly (a Unix symbolic link under Wine) is closed untouched.
HANDLE CreateTestFile(const wchar_t* path) {
    g_writer.error = 0;
    g_writer.handle = nullptr;
    HANDLE file = g_fileOs.CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        const DWORD code = g_fileOs.GetLastError();
        file = nullptr;
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) {
            file = OpenLeftover(path);
        } else {
            NoteFailure(code, ERROR_OPEN_FAILED);
        }
        if (file == nullptr) return nullptr;
    }
    g_writer.handle = file;
    g_writer.writeBuffer =
        static_cast<char*>(g_fileOs.HeapAlloc(GeneralHeap(), 0, kWriteBufferBytes));
    g_writer.bufferBytes = kWriteBufferBytes;
    g_writer.pendingBytes = 0;
    g_writer.writing = false;
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

// The name is opened without following a reparse point and removed through
// that very handle, so a symbolic link planted at the path goes itself and
// its target stays. Under Wine a Unix symbolic link cannot be told from its
// target by the handle, and removing it removes the target: one that the path
// does not reach directly is left alone. A read-only file is made writable
// first, but only when the attributes are its own, not shared with a second name.
BOOL ForceDelete(const wchar_t* path) {
    HANDLE file = g_fileOs.CreateFileW(path, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE || file == nullptr) return FALSE;
    BOOL deleted = FALSE;
    BY_HANDLE_FILE_INFORMATION info;
    if (g_fileOs.GetFileInformationByHandle(file, &info) && IsReachedDirectly(file, path)) {
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 && info.nNumberOfLinks == 1) {
            FILE_BASIC_INFO basic = {};
            basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;  // times of 0 stay as they are
            g_fileOs.SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
        }
        FILE_DISPOSITION_INFO disposition = {TRUE};
        deleted = g_fileOs.SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    }
    g_fileOs.CloseHandle(file);
    return deleted;
}

DWORD TestFileError() { return g_writer.error; }
