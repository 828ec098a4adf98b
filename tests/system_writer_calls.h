// Recorded file calls as one line of text each, so a whole sequence compares
// as text and the first difference says exactly which call and which argument
// went wrong.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "system_writer_fixture.h"

inline std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

// Paths here are plain ASCII.
inline std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += static_cast<char>(c);
    return narrow;
}

inline std::string NameOfHandle(HANDLE handle) {
    if (handle == FakeFileHandle()) return "file";
    if (handle == GeneralHeap() && handle != nullptr) return "general heap";
    return Hex(reinterpret_cast<uintptr_t>(handle));
}

inline std::string NameOfData(const void* data) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(data);
    if (data == FakeWriteBuffer()) return "write buffer";
    if (at >= kBufferBase && at < kBufferBase + kTestBufferBytes) return "chunk@" + std::to_string(at - kBufferBase);
    return Hex(at);
}

inline std::string Describe(const FileCallRecord& r) {
    const std::string extras = r.extrasNull ? "" : " extras-not-null";
    switch (r.call) {
        case FileCall::CreateFile:
            return "CreateFileW " + Narrow(r.path) + " access=" + Hex(r.access) + " share=" + Hex(r.share) +
                   " disposition=" + std::to_string(r.disposition) + " flags=" + Hex(r.flags) + extras;
        case FileCall::WriteFile:
            return "WriteFile " + NameOfHandle(r.handle) + " " + NameOfData(r.data) + " " +
                   std::to_string(r.bytes) + extras;
        case FileCall::SetFilePointer:
            return "SetFilePointer " + NameOfHandle(r.handle) + " " + std::to_string(r.distance) +
                   (r.highGiven ? " high=" + std::to_string(r.high) : " no-high") + " method=" +
                   std::to_string(r.disposition);
        case FileCall::CloseHandle: return "CloseHandle " + NameOfHandle(r.handle);
        case FileCall::HeapAlloc:
            return "HeapAlloc " + NameOfHandle(r.handle) + " " + Hex(r.flags) + " " + std::to_string(r.bytes);
        case FileCall::HeapFree:
            return "HeapFree " + NameOfHandle(r.handle) + " " + Hex(r.flags) + " " + NameOfData(r.data);
        case FileCall::GetLastError: return "GetLastError";
        case FileCall::GetFileInformation: return "GetFileInformationByHandle " + NameOfHandle(r.handle);
        case FileCall::GetFinalPathName:
            return "GetFinalPathNameByHandleW " + NameOfHandle(r.handle) + " room=" + std::to_string(r.bytes) +
                   " flags=" + Hex(r.flags);
        case FileCall::GetFullPathName:
            return "GetFullPathNameW " + Narrow(r.path) + " room=" + std::to_string(r.bytes) + extras;
        case FileCall::SetEndOfFile: return "SetEndOfFile " + NameOfHandle(r.handle);
        case FileCall::SetFileInformation:
            if (r.disposition == FileBasicInfo) {
                return "SetFileInformationByHandle " + NameOfHandle(r.handle) + " basic attributes=" + Hex(r.flags) +
                       " bytes=" + std::to_string(r.bytes);
            }
            if (r.disposition == FileDispositionInfo) {
                return "SetFileInformationByHandle " + NameOfHandle(r.handle) + " disposition delete=" +
                       std::to_string(r.flags) + " bytes=" + std::to_string(r.bytes);
            }
            return "SetFileInformationByHandle " + NameOfHandle(r.handle) + " class=" + std::to_string(r.disposition);
    }
    return "?";
}

inline void ExpectCalls(const std::vector<std::string>& expected) {
    const std::vector<FileCallRecord>& calls = g_fileRecorder.calls;
    for (size_t i = 0; i < expected.size() && i < calls.size(); ++i) {
        ASSERT_EQ(expected[i], Describe(calls[i])) << "call " << i;
    }
    ASSERT_EQ(expected.size(), calls.size());
}

// The lines of creation. CREATE_NEW is 1, OPEN_EXISTING 3; 0x80 in the access
// of the second attempt is FILE_READ_ATTRIBUTES, 0x200000 FILE_FLAG_OPEN_REPARSE_POINT.
constexpr char kCreateNewLine[] =
    "CreateFileW D:\\Varnhold.dat access=0xC0000000 share=0x0 disposition=1 flags=0x80";
constexpr char kOpenLeftoverLine[] =
    "CreateFileW D:\\Varnhold.dat access=0x40000080 share=0x0 disposition=3 flags=0x200000";
constexpr char kLeftoverInfoLine[] = "GetFileInformationByHandle file";
constexpr char kFinalPathLine[] = "GetFinalPathNameByHandleW file room=1024 flags=0x0";
constexpr char kFullPathLine[] = "GetFullPathNameW D:\\Varnhold.dat room=1024";
constexpr char kTruncateLine[] = "SetEndOfFile file";

// An ordinary leftover, checked and cut, up to the point where a new file would be.
inline std::vector<std::string> ReusedLeftoverLines() {
    return {kCreateNewLine, "GetLastError", kOpenLeftoverLine, kLeftoverInfoLine,
            kFinalPathLine, kFullPathLine,  kTruncateLine};
}

// The lines of a forced deletion. 0x10180 is DELETE with FILE_READ_ATTRIBUTES
// and FILE_WRITE_ATTRIBUTES; the share mode 7 lets every other opener be.
constexpr char kOpenToDeleteLine[] =
    "CreateFileW D:\\Varnhold.dat access=0x10180 share=0x7 disposition=3 flags=0x200000";
constexpr char kMakeWritableLine[] = "SetFileInformationByHandle file basic attributes=0x80 bytes=40";
constexpr char kMarkDeletedLine[] = "SetFileInformationByHandle file disposition delete=1 bytes=1";

// A forced deletion that finds a plain file and removes it.
inline std::vector<std::string> DeletionLines() {
    return {kOpenToDeleteLine, kLeftoverInfoLine, kFinalPathLine, kFullPathLine, kMarkDeletedLine, "CloseHandle file"};
}
