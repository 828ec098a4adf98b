#include "engine_run_recorder.h"

#include <cwchar>

#include "system/constants.h"

RunRecorder g_runRecorder;

namespace {

// High enough that no real block sits there; the engine only adds to it.
const uintptr_t kFakeBufferAddress = uintptr_t{0x7E0000000000};

void Note(const std::wstring& token) { g_runRecorder.tokens.push_back(token); }

std::wstring Num(int64_t value) { return std::to_wstring(value); }

void CheckPath(const wchar_t* path) {
    if (path == nullptr || g_runRecorder.path != path) ++g_runRecorder.misplacedCalls;
}

void* Allocate(int64_t bytes) {
    Note(L"Alloc(" + Num(bytes) + L")");
    if (g_runRecorder.script.allocateFails) return nullptr;
    ++g_runRecorder.allocations;
    return FakeTestBuffer();
}

void Fill(void* buffer, int64_t bytes, int value) {
    if (buffer != FakeTestBuffer()) ++g_runRecorder.misplacedCalls;
    Note(L"Fill(" + Num(bytes) + L"," + Num(value) + L")");
}

void Pause(uint32_t ms) {
    Note(L"Pause(" + Num(ms) + L")");
    g_runRecorder.nowMs += ms;  // a clock read around a pause would show it
}

int64_t Now() {
    Note(L"Now");
    return g_runRecorder.nowMs;
}

BOOL Delete(const wchar_t* path) {
    Note(L"Delete");
    ++g_runRecorder.deletes;
    CheckPath(path);
    const bool existed = g_runRecorder.fileOnDisk;
    g_runRecorder.fileOnDisk = false;
    return existed ? TRUE : FALSE;
}

HANDLE Create(const wchar_t* path) {
    Note(L"Create");
    CheckPath(path);
    if (g_runRecorder.creates++ == g_runRecorder.script.failingCreate) return nullptr;
    g_runRecorder.fileOpen = true;
    g_runRecorder.fileOnDisk = true;
    g_runRecorder.writesInFile = 0;
    g_runRecorder.writeOffset = 0;
    ++g_runRecorder.filesWritten;
    return reinterpret_cast<HANDLE>(uintptr_t{0x4242});
}

int64_t Write(const void* chunk, int32_t length) {
    Note(L"Write(" + Num(length) + L")");
    RunRecorder& r = g_runRecorder;
    ++r.writes;
    if (!r.fileOpen) return 0;
    if (chunk != FakeTestBuffer() + r.writeOffset) ++r.misplacedCalls;
    r.writeOffset += length;
    const int writeIndex = r.writesInFile++;
    if (r.filesWritten - 1 == r.script.shortWriteTask && writeIndex == r.script.shortWriteChunk) {
        return r.script.shortWriteBytes;
    }
    return length;
}

void Close() {
    Note(L"Close");
    RunRecorder& r = g_runRecorder;
    if (!r.fileOpen) return;
    r.fileOpen = false;
    const size_t index = static_cast<size_t>(r.filesWritten - 1);
    if (index < r.script.writeMs.size()) r.nowMs += r.script.writeMs[index];
}

DWORD Error() {
    Note(L"Error");
    return g_runRecorder.script.error;
}

void Pump() { Note(L"Pump"); }

void SetText(int number, const wchar_t* text) {
    Note(L"Text(" + Num(number) + L"," + text + L")");
    g_runRecorder.texts[number] = text;
}

void SetLabel(int number, uint32_t colour) {
    wchar_t hex[16];
    std::swprintf(hex, 16, L"%06X", static_cast<unsigned>(colour));
    Note(L"Label(" + Num(number) + L"," + hex + L")");
    g_runRecorder.highlights[number] = colour;
}

void SetEnabled(int number, bool enabled) {
    Note(L"Enabled(" + Num(number) + L"," + (enabled ? L"1" : L"0") + L")");
    if (number == kStartButton) g_runRecorder.startEnabled = enabled;
}

void Message(const wchar_t* title, const wchar_t* text) {
    Note(L"Message");
    g_runRecorder.messages.emplace_back(title, text);
}

// The two texts the failure tests meet, as the system words them.
DWORD WINAPI FormatMessageFake(DWORD, LPCVOID, DWORD code, DWORD, LPWSTR buffer, DWORD size,
                               va_list*) {
    const wchar_t* text = nullptr;
    if (code == ERROR_PATH_NOT_FOUND) text = L"The system cannot find the path specified.\r\n";
    if (code == ERROR_DISK_FULL) text = L"There is not enough space on the disk.\r\n";
    if (text == nullptr || std::wcslen(text) >= size) return 0;
    std::wcscpy(buffer, text);
    return static_cast<DWORD>(std::wcslen(text));
}

}  // namespace

char* FakeTestBuffer() { return reinterpret_cast<char*>(kFakeBufferAddress); }

void ResetRunRecorder(const wchar_t* path) {
    g_runRecorder = RunRecorder{};
    for (int i = 0; i < kTasksPerRun; ++i) g_runRecorder.texts[kFirstTaskField + i] = kFieldPlaceholder;
    for (int field : {kMinimumField, kMaximumField, kAverageField}) {
        g_runRecorder.texts[field] = kFieldPlaceholder;
    }
    g_runRecorder.startEnabled = true;
    g_runRecorder.path = path;
}

RunSeam RecordingRunSeam() {
    return RunSeam{kTestBufferBytes, Allocate, Fill,    Pause,    Now,        Delete,
                   Create,           Write,    Close,   Error,    Pump,       SetText,
                   SetLabel,         SetEnabled, Message, FormatMessageFake};
}

std::wstring TakeTrace() {
    std::vector<std::wstring>& t = g_runRecorder.tokens;
    std::wstring trace;
    size_t i = 0;
    while (i < t.size()) {
        std::wstring token = t[i];
        size_t next = i + 1;
        if (t[i] == L"Pump" && next < t.size() && t[next].rfind(L"Write(", 0) == 0) {
            const std::wstring write = t[next];
            int64_t count = 0;
            next = i;
            while (next + 1 < t.size() && t[next] == L"Pump" && t[next + 1] == write) {
                ++count;
                next += 2;
            }
            token = L"Chunks(" + write.substr(6, write.size() - 7) + L")x" + Num(count);
        }
        if (!trace.empty()) trace += L' ';
        trace += token;
        i = next;
    }
    t.clear();
    return trace;
}

std::wstring RunOpeningTrace(bool obtainsBuffer) {
    std::wstring trace = L"Enabled(14,0)";
    if (obtainsBuffer) trace += L" Alloc(8589934592) Fill(8589934592,128)";
    return trace + L" Pause(250)";
}

namespace {

std::wstring TaskBeginning(int taskIndex) {
    return L" Label(" + Num(kFirstTaskLabel + taskIndex) +
           L",6464C8) Pump Delete Delete Delete Pump Pause(900) Now Create";
}

}  // namespace

std::wstring GoodTaskTrace(int taskIndex, const std::wstring& text) {
    return TaskBeginning(taskIndex) +
           L" Chunks(2097120)x4096 Chunks(131072)x1 Close Now Pump Pause(900)"
           L" Delete Delete Delete Pause(900) Pump Text(" +
           Num(kFirstTaskField + taskIndex) + L"," + text + L") Pump Pump";
}

std::wstring RunClosingTrace(const std::wstring& minimum, const std::wstring& maximum,
                             const std::wstring& average) {
    return L" Pause(500) Pump Text(103," + minimum + L") Pump Pump Text(104," + maximum +
           L") Pump Text(105," + average + L") Pump Enabled(14,1)";
}

std::wstring FailedTaskTrace(int taskIndex, int64_t chunksWritten) {
    std::wstring trace = TaskBeginning(taskIndex);
    if (chunksWritten > 0) trace += L" Chunks(2097120)x" + Num(chunksWritten);
    return trace + L" Error Close Delete Delete Delete";
}

std::wstring FailedRunClosingTrace(int taskIndex) {
    std::wstring trace = L" Text(" + Num(kFirstTaskField + taskIndex) + L",Failed)";
    for (int i = taskIndex + 1; i < kTasksPerRun; ++i) {
        trace += L" Text(" + Num(kFirstTaskField + i) + L",MB/Sec)";
    }
    return trace + L" Text(103,MB/Sec) Text(104,MB/Sec) Text(105,MB/Sec) Pump Message Enabled(14,1)";
}
