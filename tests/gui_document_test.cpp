// Handing documents and web addresses to the system: what is asked of it, and
// that nothing waits or shows when there is nothing to open them with.
#include <fstream>
#include <sstream>
#include <string>

#include "gui_test_support.h"
#include "system/constants.h"

namespace {

constexpr wchar_t kAddress[] = L"https://example.org/donate/?hosted_button_id=TEST";

using Documents = GuiTest;

TEST_F(Documents, StartedAsAProgramFirst) {
    InstallUiOsRecorder(UiOsAnswers{.createProcess = ProcessAnswer::Succeed});
    OpenDocument(L"C:\\Tools\\viewer.exe");
    const std::vector<UiCallRecord> starts = UiCallsOf(UiCall::CreateProcess);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].text, L"\"C:\\Tools\\viewer.exe\"");
    EXPECT_EQ(starts[0].title, L"(null)");
    EXPECT_EQ(starts[0].a, static_cast<uint64_t>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(starts[0].b, 1u) << "only cb, dwFlags and wShowWindow set; no attributes, environment, folder";
    EXPECT_EQ(starts[0].c, 104u | uint64_t{STARTF_USESHOWWINDOW} << 16 | uint64_t{SW_SHOWNORMAL} << 32);
    EXPECT_EQ(starts[0].d, 0u);
    EXPECT_EQ(CountUiCalls(UiCall::ShellExecute), 0);
    // Both handles of the started program are let go at once.
    DWORD flags;
    EXPECT_FALSE(GetHandleInformation(g_uiRecorder.startedThread, &flags));
    EXPECT_FALSE(GetHandleInformation(g_uiRecorder.startedProcess, &flags));
}

TEST_F(Documents, HandedToTheShellWhenItIsNoProgram) {
    InstallUiOsRecorder(UiOsAnswers{.createProcess = ProcessAnswer::Fail, .fakeShell = true});
    OpenDocument(kAddress);
    ASSERT_EQ(CountUiCalls(UiCall::CreateProcess), 1);
    EXPECT_EQ(UiCallsOf(UiCall::CreateProcess)[0].text, std::wstring(L"\"") + kAddress + L"\"");
    const std::vector<UiCallRecord> shell = UiCallsOf(UiCall::ShellExecute);
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].text, kAddress);
    EXPECT_EQ(shell[0].title, L"");  // parameters: empty, not absent
    EXPECT_EQ(shell[0].more, L"(null)");
    EXPECT_EQ(shell[0].a, 112u);
    EXPECT_EQ(shell[0].b, 0x540u);
    EXPECT_EQ(shell[0].c, static_cast<uint64_t>(SW_SHOWNORMAL));
    EXPECT_EQ(shell[0].d, 1u) << "no window, verb or class";
    DWORD flags;
    EXPECT_FALSE(GetHandleInformation(g_uiRecorder.shellProcess, &flags));
}

TEST_F(Documents, ShellGetsTheFolderOfAPath) {
    InstallUiOsRecorder(UiOsAnswers{.createProcess = ProcessAnswer::Fail, .fakeShell = true});
    OpenDocument(L"C:\\Reports\\result.txt");
    const std::vector<UiCallRecord> shell = UiCallsOf(UiCall::ShellExecute);
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].more, L"C:\\Reports\\");
}

TEST_F(Documents, QuotedCommandIsUsedAsItIs) {
    InstallUiOsRecorder(UiOsAnswers{.createProcess = ProcessAnswer::Succeed});
    OpenDocument(L"\"C:\\Tools\\viewer.exe\" /page 2");
    EXPECT_EQ(UiCallsOf(UiCall::CreateProcess)[0].text, L"\"C:\\Tools\\viewer.exe\" /page 2");
}

// The test prefix's browser is a script that notes each address it is given.
std::wstring BrowserLog() {
    wchar_t prefix[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH) == 0) return L"";
    std::wstring path = std::wstring(L"Z:") + prefix + L"/browser.log";
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

bool LogHolds(const std::wstring& log, const std::wstring& address) {
    std::ifstream file(log.c_str());
    std::stringstream text;
    text << file.rdbuf();
    const std::string narrow(address.begin(), address.end());
    return text.str().find(narrow) != std::string::npos;
}

int VisibleWindowsOfThisProcess() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(window)) ++*reinterpret_cast<int*>(context);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// The web address fails as a program and reaches the browser through the shell.
TEST_F(Documents, WebAddressReachesTheBrowser) {
    const std::wstring log = BrowserLog();
    ASSERT_FALSE(log.empty()) << "WINEPREFIX is not set";
    const std::wstring address = L"https://example.org/donate/?hosted_button_id=T" +
                                 std::to_wstring(GetCurrentProcessId()) + L"x" + std::to_wstring(GetTickCount64());
    OpenDocument(address.c_str());
    EXPECT_EQ(VisibleWindowsOfThisProcess(), 0);
    EXPECT_TRUE(WaitUntil([&] { return LogHolds(log, address); }, 20000)) << "not in the browser's log";
}

// Nothing handles the scheme: the call returns and nothing is shown.
TEST_F(Documents, AddressWithoutAHandlerShowsNothing) {
    OpenDocument(L"varnhold-no-such-scheme:nothing");
    EXPECT_EQ(VisibleWindowsOfThisProcess(), 0);
}

}  // namespace
