#include "gui_os_recorder.h"

#include <algorithm>

UiOsRecorder g_uiRecorder;

namespace {

UiCallRecord& Note(UiCall call) {
    g_uiRecorder.calls.push_back(UiCallRecord{call, L"", L"", L"", 0, 0, 0, 0, nullptr, nullptr, nullptr});
    return g_uiRecorder.calls.back();
}

std::wstring TextOf(const wchar_t* text) {
    if (text == nullptr) return L"(null)";
    if (IS_INTRESOURCE(text)) return L"(atom)";
    return text;
}

uint64_t Bits(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

ATOM WINAPI FakeRegisterClassW(const WNDCLASSW* windowClass) {
    UiCallRecord& record = Note(UiCall::RegisterClass);
    record.text = TextOf(windowClass->lpszClassName);
    record.a = windowClass->style;
    record.b = Bits(windowClass->hbrBackground);
    record.icon = windowClass->hIcon;
    record.cursor = windowClass->hCursor;
    return kRealUiOs.RegisterClassW(windowClass);
}

HWND WINAPI FakeCreateWindowExW(DWORD extended, LPCWSTR className, LPCWSTR title, DWORD style,
                                int x, int y, int width, int height, HWND parent, HMENU menu,
                                HINSTANCE instance, LPVOID param) {
    UiCallRecord& record = Note(UiCall::CreateWindow);
    record.text = TextOf(className);
    record.title = TextOf(title);
    record.a = style;
    record.b = extended;
    record.handle = parent;
    if (!g_uiRecorder.answers.failWindowClass.empty() &&
        record.text == g_uiRecorder.answers.failWindowClass) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return kRealUiOs.CreateWindowExW(extended, className, title, style, x, y, width, height,
                                     parent, menu, instance, param);
}

BOOL WINAPI FakeSystemParametersInfoW(UINT action, UINT size, PVOID record, UINT change) {
    UiCallRecord& note = Note(UiCall::SystemParametersInfo);
    note.a = action;
    note.b = size;
    note.c = record != nullptr ? *static_cast<const UINT*>(record) : 0;
    if (g_uiRecorder.answers.failSystemParameters) return FALSE;
    return kRealUiOs.SystemParametersInfoW(action, size, record, change);
}

HBRUSH WINAPI FakeCreateSolidBrush(COLORREF colour) {
    HBRUSH brush = kRealUiOs.CreateSolidBrush(colour);
    UiCallRecord& record = Note(UiCall::CreateSolidBrush);
    record.a = colour;
    record.handle = brush;
    return brush;
}

BOOL WINAPI FakeDeleteObject(HGDIOBJ object) {
    Note(UiCall::DeleteObject).handle = object;
    return kRealUiOs.DeleteObject(object);
}

BOOL WINAPI FakePeekMessageW(LPMSG message, HWND window, UINT first, UINT last, UINT flags) {
    UiCallRecord& record = Note(UiCall::PeekMessage);
    record.a = flags;
    record.b = first;
    record.c = last;
    record.handle = window;
    return kRealUiOs.PeekMessageW(message, window, first, last, flags);
}

BOOL WINAPI FakeGetMessageW(LPMSG message, HWND window, UINT first, UINT last) {
    UiCallRecord& record = Note(UiCall::GetMessage);
    record.b = first;
    record.c = last;
    record.handle = window;
    return kRealUiOs.GetMessageW(message, window, first, last);
}

int WINAPI FakeMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR title, UINT type) {
    UiCallRecord& record = Note(UiCall::MessageBox);
    record.text = TextOf(text);
    record.title = TextOf(title);
    record.a = type;
    record.handle = owner;
    if (!g_uiRecorder.answers.fakeMessageBox) return kRealUiOs.MessageBoxW(owner, text, title, type);
    if (g_uiRecorder.answers.duringMessageBox != nullptr) g_uiRecorder.answers.duringMessageBox();
    return IDOK;
}

// True when every byte of the record but the named fields is zero.
bool OnlyShowFieldsSet(const STARTUPINFOW& startup) {
    STARTUPINFOW rest = startup;
    rest.cb = 0;
    rest.dwFlags = 0;
    rest.wShowWindow = 0;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&rest);
    return std::all_of(bytes, bytes + sizeof rest, [](unsigned char byte) { return byte == 0; });
}

BOOL WINAPI FakeCreateProcessW(LPCWSTR application, LPWSTR commandLine,
                               LPSECURITY_ATTRIBUTES processAttributes,
                               LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags,
                               LPVOID environment, LPCWSTR directory, LPSTARTUPINFOW startup,
                               LPPROCESS_INFORMATION started) {
    UiCallRecord& record = Note(UiCall::CreateProcess);
    record.text = TextOf(commandLine);
    record.title = TextOf(application);
    record.a = flags;
    record.b = OnlyShowFieldsSet(*startup) && processAttributes == nullptr &&
               threadAttributes == nullptr && environment == nullptr && directory == nullptr;
    record.c = startup->cb | uint64_t{startup->dwFlags} << 16 | uint64_t{startup->wShowWindow} << 32;
    record.d = inherit;
    switch (g_uiRecorder.answers.createProcess) {
        case ProcessAnswer::Real:
            break;
        case ProcessAnswer::Fail:
            SetLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        case ProcessAnswer::Succeed:
            g_uiRecorder.startedThread = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            g_uiRecorder.startedProcess = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            *started = PROCESS_INFORMATION{g_uiRecorder.startedProcess, g_uiRecorder.startedThread, 1, 1};
            return TRUE;
    }
    return kRealUiOs.CreateProcessW(application, commandLine, processAttributes, threadAttributes,
                                    inherit, flags, environment, directory, startup, started);
}

BOOL WINAPI FakeShellExecuteExW(SHELLEXECUTEINFOW* execute) {
    UiCallRecord& record = Note(UiCall::ShellExecute);
    record.text = TextOf(execute->lpFile);
    record.title = TextOf(execute->lpParameters);
    record.more = TextOf(execute->lpDirectory);
    record.a = execute->cbSize;
    record.b = execute->fMask;
    record.c = static_cast<uint64_t>(execute->nShow);
    record.d = execute->hwnd == nullptr && execute->lpVerb == nullptr && execute->lpClass == nullptr;
    if (!g_uiRecorder.answers.fakeShell) return kRealUiOs.ShellExecuteExW(execute);
    g_uiRecorder.shellProcess = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    execute->hProcess = g_uiRecorder.shellProcess;
    return TRUE;
}

const UiOs kRecordingUiOs = {
    FakeRegisterClassW, FakeCreateWindowExW, FakeSystemParametersInfoW, FakeCreateSolidBrush,
    FakeDeleteObject,   FakePeekMessageW,    FakeGetMessageW,           FakeMessageBoxW,
    FakeCreateProcessW, FakeShellExecuteExW,
};

}  // namespace

void InstallUiOsRecorder(const UiOsAnswers& answers) {
    g_uiRecorder = UiOsRecorder{answers, {}, nullptr, nullptr, nullptr};
    g_uiOs = kRecordingUiOs;
}

void RemoveUiOsRecorder() { g_uiOs = kRealUiOs; }

int CountUiCalls(UiCall call) {
    return static_cast<int>(std::count_if(g_uiRecorder.calls.begin(), g_uiRecorder.calls.end(),
                                          [call](const UiCallRecord& record) { return record.call == call; }));
}

std::vector<UiCallRecord> UiCallsOf(UiCall call) {
    std::vector<UiCallRecord> found;
    for (const UiCallRecord& record : g_uiRecorder.calls) {
        if (record.call == call) found.push_back(record);
    }
    return found;
}
