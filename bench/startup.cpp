// Start-up as a user meets it: process start to the info box, and the
// dialog's OK to the main window, against starting an empty program.
#include <cstdio>
#include <string>

#include "bench/bench.h"
#include "bench/samples.h"
#include "system/constants.h"
#include "system/win.h"

namespace {

constexpr double kGiveUpSeconds = 30.0;

struct Search {
    DWORD process;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (process == search->process && IsWindowVisible(window) &&
        std::wstring(name) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A program window counts once its last control exists: it is shown before
// its controls are made.
HWND WaitForWindow(DWORD process, const wchar_t* className, int lastControl) {
    const double deadline = SecondsNow() + kGiveUpSeconds;
    while (SecondsNow() < deadline) {
        Search search{process, className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr &&
            (lastControl == 0 || GetDlgItem(search.found, lastControl) != nullptr)) {
            return search.found;
        }
        Sleep(1);
    }
    return nullptr;
}

bool Start(const std::wstring& exe, PROCESS_INFORMATION* process) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\"";
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, process) != 0;
}

void End(PROCESS_INFORMATION* process) {
    if (WaitForSingleObject(process->hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process->hProcess, 1);
    }
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
}

double EmptyStart(const std::wstring& exe) {
    PROCESS_INFORMATION process = {};
    const double start = SecondsNow();
    if (!Start(exe, &process)) return 0.0;
    WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = SecondsNow() - start;
    End(&process);
    return seconds;
}

// Clicks through the program: info box, dialog, then closes the main window.
bool ProgramStart(const std::wstring& exe, double* toInfoBox, double* okToMainWindow) {
    PROCESS_INFORMATION process = {};
    const double start = SecondsNow();
    if (!Start(exe, &process)) {
        std::printf("  could not start %ls (error %lu)\n", exe.c_str(), GetLastError());
        return false;
    }
    HWND box = WaitForWindow(process.dwProcessId, L"#32770", 0);
    *toInfoBox = SecondsNow() - start;
    bool ok = box != nullptr;
    if (ok) PostMessageW(box, WM_COMMAND, IDOK, 0);
    HWND dialog = ok ? WaitForWindow(process.dwProcessId, L"WindowClass_106", kOkButton) : nullptr;
    ok = dialog != nullptr;
    HWND main = nullptr;
    if (ok) {
        const double pressed = SecondsNow();
        PostMessageW(GetDlgItem(dialog, kOkButton), BM_CLICK, 0, 0);
        main = WaitForWindow(process.dwProcessId, L"WindowClass_79", kDonateButton);
        *okToMainWindow = SecondsNow() - pressed;
        ok = main != nullptr;
        if (ok) PostMessageW(main, WM_CLOSE, 0, 0);
    }
    if (!ok) {
        std::printf("  the program did not show its %s\n",
                    box == nullptr ? "info box" : dialog == nullptr ? "dialog" : "main window");
        TerminateProcess(process.hProcess, 1);
    }
    End(&process);
    return ok;
}

}  // namespace

bool BenchStartup(const BenchOptions& options) {
    Samples empty{"empty program: start to exit", "ms", {}};
    Samples info{"program: start to info box", "ms", {}};
    Samples main{"program: dialog OK to main window", "ms", {}};
    for (int rep = 0; rep < options.reps; ++rep) {
        empty.values.push_back(EmptyStart(options.emptyExe) * 1000.0);
        double toInfo = 0.0, toMain = 0.0;
        if (!ProgramStart(options.productExe, &toInfo, &toMain)) {
            std::printf("  the program did not come up; start-up figures skipped\n");
            return false;
        }
        info.values.push_back(toInfo * 1000.0);
        main.values.push_back(toMain * 1000.0);
    }
    PrintHeader("6. start-up");
    PrintSamples(empty);
    PrintSamples(info);
    PrintSamples(main);
    PrintRatio("start to info box / empty program", info, empty, "(none)");
    return true;
}
