// Handing a document or web address to the system, without waiting for it.
#include <string>

#include "system/constants.h"
#include "ui/gui.h"
#include "ui/gui_os.h"
#include "ui/gui_rules.h"

#ifdef _WIN64
static_assert(sizeof(STARTUPINFOW) == kStartupInfoBytes);
static_assert(sizeof(SHELLEXECUTEINFOW) == kShellExecuteInfoBytes);
#endif
static_assert(kShellExecuteMask == (SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI));

namespace {

bool StartAsProgram(const wchar_t* address) {
    std::wstring commandLine = DocumentCommandLine(address);
    STARTUPINFOW startup = {};
    startup.cb = kStartupInfoBytes;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started = {};
    if (!g_uiOs.CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                               NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started)) {
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

// The shell shows nothing when it finds no handler.
void HandToShell(const wchar_t* address) {
    const std::wstring directory = DocumentDirectory(address);
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = kShellExecuteInfoBytes;
    execute.fMask = kShellExecuteMask;
    execute.lpFile = address;
    execute.lpParameters = L"";
    execute.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    execute.nShow = SW_SHOWNORMAL;
    g_uiOs.ShellExecuteExW(&execute);
    if (execute.hProcess != nullptr) CloseHandle(execute.hProcess);
}

}  // namespace

void OpenDocument(const wchar_t* address) {
    if (!StartAsProgram(address)) HandToShell(address);
}
