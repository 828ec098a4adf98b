#include "fault_in_process.h"

#include <atomic>
#include <thread>

#include "engine/run_seam.h"
#include "system/clock.h"
#include "system/memory_os.h"
#include "ui/startup.h"

namespace {

constexpr uint64_t kPlentyFreeBytes = 2 * kFreeMemoryGateBytes;
constexpr uint32_t kPauseDivisor = 10;
constexpr DWORD kGraceMs = 5000;     // for a program that is already on its way out
constexpr DWORD kRescueMs = 120000;  // a run in progress finishes first
constexpr DWORD kRescuePollMs = 50;

BOOL WINAPI PlentyFree(LPMEMORYSTATUSEX status) {
    const BOOL ok = kRealMemoryOs.GlobalMemoryStatusEx(status);
    status->ullAvailPhys = kPlentyFreeBytes;
    return ok;
}

void ShortPause(uint32_t ms) { PauseMs(ms / kPauseDivisor); }

// Closes whatever keeps the program waiting; true if there was anything.
bool CloseWhatIsOpen(const Product& self) {
    bool acted = false;
    for (HWND window : VisibleWindowsOf(self)) {
        const std::wstring name = ClassOf(window);
        if (name == kMessageBoxClass) {
            CloseMessageBox(window);
        } else if (name == kDialogClass) {
            Press(GetDlgItem(window, kOkButton));
        } else if (name == kMainClass) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        } else {
            continue;
        }
        acted = true;
    }
    return acted;
}

}  // namespace

void PrepareProgramInProcess() {
    g_memoryOs.GlobalMemoryStatusEx = PlentyFree;
    g_runSeam.testBufferBytes = kMiniatureBufferBytes;
    g_runSeam.PauseMs = ShortPause;
}

int RunProgramWhile(const std::function<void(const Product& self)>& user, bool* rescued) {
    Product self{};
    self.process.dwProcessId = GetCurrentProcessId();
    self.process.dwThreadId = GetCurrentThreadId();
    std::atomic<bool> ended{false};
    std::atomic<bool> closedByRescue{false};
    std::thread userThread([&] {
        user(self);
        if (WaitUntil([&] { return ended.load(); }, kGraceMs)) return;
        WaitUntil(
            [&] {
                if (CloseWhatIsOpen(self)) closedByRescue = true;
                Sleep(kRescuePollMs);
                return ended.load();
            },
            kRescueMs);
    });
    const int exitCode = RunProgram();
    ended = true;
    userThread.join();
    *rescued = closedByRescue.load();
    return exitCode;
}

MessageSeen ReadAndCloseMessage(const Product& self, DWORD timeoutMs, const std::function<void()>& look) {
    MessageSeen seen{};
    HWND box = WaitForWindow(self, kMessageBoxClass, timeoutMs);
    if (box == nullptr) return seen;
    seen.shown = true;
    wchar_t title[256] = {};
    GetWindowTextW(box, title, 256);
    seen.title = title;
    seen.text = MessageBoxText(box);
    look();
    CloseMessageBox(box);
    WaitUntil([&] { return !IsWindow(box); }, kWindowWaitMs);
    return seen;
}

bool WaitUntilStartEnabled(HWND main) {
    HWND start = GetDlgItem(main, kStartButton);
    return WaitUntil([&] { return IsWindowEnabled(start) != FALSE; }, kWindowWaitMs);
}

// A close request that arrives while start-up still drains is dropped, so it
// is repeated until the window is gone.
bool CloseMainWindowInProcess(HWND main) {
    return RepeatUntil([&] { PostMessageW(main, WM_CLOSE, 0, 0); }, [&] { return !IsWindow(main); },
                       kWindowWaitMs);
}
