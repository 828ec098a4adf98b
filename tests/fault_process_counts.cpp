#include "fault_process_counts.h"

#include <winternl.h>
#include <psapi.h>

#include <vector>

namespace {

// The system's list of every open handle (SystemExtendedHandleInformation).
constexpr ULONG kExtendedHandleInformation = 64;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
constexpr size_t kFirstHandleListBytes = 1 << 20;
constexpr int kHandleListTries = 8;

struct HandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG grantedAccess;
    USHORT creatorBackTrace;
    USHORT objectType;
    ULONG attributes;
    ULONG reserved;
};

struct HandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

// One cell of the GDI handle table that the process environment block
// points at; a live object has a type.
struct GdiCell {
    UINT64 object;
    USHORT processId;
    USHORT count;
    USHORT upper;
    USHORT type;
    UINT64 user;
};
constexpr size_t kGdiTableCells = 0x10000;
constexpr size_t kGdiTableOffsetInPeb = 0xF8;  // 64-bit layout

using QuerySystem = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

// Through void*: a function pointer of one type may not be cast to another directly.
void* NtFunction(const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name));
}

// GetProcessHandleCount answers 0 under Wine; the system's handle list does not.
int64_t HandlesOf(HANDLE process, DWORD processId) {
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count) && count > 0) return count;
    QuerySystem query = reinterpret_cast<QuerySystem>(NtFunction("NtQuerySystemInformation"));
    if (query == nullptr) return -1;
    std::vector<char> list(kFirstHandleListBytes);
    for (int tries = 0; tries < kHandleListTries; ++tries) {
        ULONG needed = 0;
        const NTSTATUS status =
            query(kExtendedHandleInformation, list.data(), static_cast<ULONG>(list.size()), &needed);
        if (status == kInfoLengthMismatch) {
            list.resize(list.size() * 2);
            continue;
        }
        if (status != 0) return -1;
        const HandleList* handles = reinterpret_cast<const HandleList*>(list.data());
        int64_t own = 0;
        for (ULONG_PTR i = 0; i < handles->count; ++i) {
            if (handles->entries[i].processId == processId) ++own;
        }
        return own;
    }
    return -1;
}

// GetGuiResources answers 0 under Wine. The table itself tells: on Windows
// its cells name their process; Wine's is the process's own, with no owner.
int64_t GdiObjectsOf(HANDLE process, DWORD processId) {
    QueryProcess query = reinterpret_cast<QueryProcess>(NtFunction("NtQueryInformationProcess"));
    if (query == nullptr) return -1;
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return -1;
    UINT64 table = 0;
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kGdiTableOffsetInPeb,
                           &table, sizeof table, &got) ||
        table == 0) {
        const DWORD counted = GetGuiResources(process, GR_GDIOBJECTS);
        return counted > 0 ? counted : -1;
    }
    std::vector<GdiCell> cells(kGdiTableCells);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), cells.data(),
                           cells.size() * sizeof(GdiCell), &got)) {
        return -1;
    }
    int64_t live = 0;
    for (size_t i = 0; i < got / sizeof(GdiCell); ++i) {
        const GdiCell& cell = cells[i];
        if (cell.type != 0 && (cell.processId == 0 || cell.processId == (processId & 0xFFFF))) ++live;
    }
    return live;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int64_t*>(count);
    return TRUE;
}

int64_t WindowsOf(const Product& product) {
    int64_t count = 0;
    for (HWND window : VisibleWindowsOf(product)) {
        ++count;
        EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

}  // namespace

ProcessCounts CountsOf(const Product& product) {
    const HANDLE process = product.process.hProcess;
    const DWORD processId = product.process.dwProcessId;
    ProcessCounts counts = {HandlesOf(process, processId), GdiObjectsOf(process, processId), WindowsOf(product),
                            -1, -1, -1};
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
        counts.privateBytes = static_cast<int64_t>(memory.PagefileUsage);
        counts.peakPrivateBytes = static_cast<int64_t>(memory.PeakPagefileUsage);
        counts.peakWorkingSetBytes = static_cast<int64_t>(memory.PeakWorkingSetSize);
    }
    return counts;
}
