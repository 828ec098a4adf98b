#include "fakes/memory_os_recorder.h"

#include <algorithm>

MemoryOsRecorder g_memoryRecorder;

namespace {

void Note(MemoryCall call, HANDLE heap, uint64_t a, uint64_t b, uint64_t c) {
    g_memoryRecorder.calls.push_back(MemoryCallRecord{call, heap, a, b, c});
}

// Notes whether everything behind dwLength came cleared.
BOOL WINAPI FakeGlobalMemoryStatusEx(LPMEMORYSTATUSEX status) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(status);
    const bool cleared = std::all_of(bytes + sizeof status->dwLength, bytes + sizeof *status,
                                     [](unsigned char byte) { return byte == 0; });
    Note(MemoryCall::GlobalMemoryStatus, nullptr, status->dwLength, cleared ? 1 : 0, 0);
    status->ullAvailPhys = g_memoryRecorder.answers.availPhysBytes;
    return g_memoryRecorder.answers.statusResult;
}

HANDLE WINAPI FakeHeapCreate(DWORD options, SIZE_T initial, SIZE_T maximum) {
    Note(MemoryCall::HeapCreate, nullptr, options, initial, maximum);
    return g_memoryRecorder.answers.createdHeap;
}

LPVOID WINAPI FakeHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    Note(MemoryCall::HeapAlloc, heap, flags, bytes, 0);
    return g_memoryRecorder.answers.allocated;
}

BOOL WINAPI FakeHeapDestroy(HANDLE heap) {
    Note(MemoryCall::HeapDestroy, heap, 0, 0, 0);
    return TRUE;
}

BOOL WINAPI FakeQueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    Note(MemoryCall::QueryFrequency, nullptr, 0, 0, 0);
    frequency->QuadPart = g_memoryRecorder.answers.frequencyResult ? g_memoryRecorder.answers.frequency : 0;
    return g_memoryRecorder.answers.frequencyResult;
}

BOOL WINAPI FakeQueryPerformanceCounter(LARGE_INTEGER* count) {
    Note(MemoryCall::QueryCounter, nullptr, 0, 0, 0);
    count->QuadPart = g_memoryRecorder.answers.counter;
    return TRUE;
}

DWORD WINAPI FakeGetTickCount() {
    Note(MemoryCall::GetTickCount, nullptr, 0, 0, 0);
    return g_memoryRecorder.answers.tickCount;
}

void WINAPI FakeSleep(DWORD ms) { Note(MemoryCall::Sleep, nullptr, ms, 0, 0); }

UINT WINAPI FakeTimeBeginPeriod(UINT period) {
    Note(MemoryCall::TimeBeginPeriod, nullptr, period, 0, 0);
    return g_memoryRecorder.answers.timerResult;
}

const MemoryOs kRecordingMemoryOs = {
    FakeGlobalMemoryStatusEx,      FakeHeapCreate,  FakeHeapAlloc, FakeHeapDestroy,
    FakeQueryPerformanceFrequency, FakeQueryPerformanceCounter, FakeGetTickCount,
    FakeSleep,                     FakeTimeBeginPeriod,
};

}  // namespace

void InstallMemoryOsRecorder(const MemoryOsAnswers& answers) {
    g_memoryRecorder.answers = answers;
    g_memoryRecorder.calls.clear();
    g_memoryOs = kRecordingMemoryOs;
}

void RemoveMemoryOsRecorder() { g_memoryOs = kRealMemoryOs; }

int CountMemoryCalls(MemoryCall call) {
    return static_cast<int>(std::count_if(g_memoryRecorder.calls.begin(), g_memoryRecorder.calls.end(),
                                          [call](const MemoryCallRecord& r) { return r.call == call; }));
}
