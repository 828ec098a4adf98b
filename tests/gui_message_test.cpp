// Message boxes: their owner, their one button, and the windows of the thread
// they hold still while they are up.
#include <string>
#include <thread>

#include "gui_test_support.h"
#include "system/constants.h"

namespace {

// What a watcher on another thread sees of the box before it presses OK.
struct BoxSeen {
    bool found = false;
    HWND owner = nullptr;
    std::wstring title;
    std::wstring text;
    bool hasOk = false;
    bool hasCancel = false;
    bool showsIcon = false;
    int textLines = 0;
    std::vector<HWND> watched;  // windows whose state is noted
    std::vector<bool> enabled;
    std::vector<bool> topmost;
};

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

struct BoxSearch {
    DWORD process;
    HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    BoxSearch& search = *reinterpret_cast<BoxSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process != search.process || wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    search.box = window;
    return FALSE;
}

// Lines the text control shows, by its height in lines of its font.
int LinesShown(HWND text) {
    RECT client;
    GetClientRect(text, &client);
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    return client.bottom / metrics.tmHeight;
}

void WatchAndPressOk(BoxSeen* seen) {
    BoxSearch search = {GetCurrentProcessId(), nullptr};
    const ULONGLONG deadline = GetTickCount64() + kWaitDeadlineMs;
    while (search.box == nullptr && GetTickCount64() < deadline) {
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.box == nullptr) Sleep(10);
    }
    if (search.box == nullptr) return;
    HWND box = search.box;
    seen->found = true;
    seen->owner = GetWindow(box, GW_OWNER);
    seen->title = TextOf(box);
    seen->text = TextOf(GetDlgItem(box, 0xFFFF));
    seen->hasOk = GetDlgItem(box, IDOK) != nullptr && IsWindowVisible(GetDlgItem(box, IDOK));
    for (int button : {IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE}) {
        seen->hasCancel |= GetDlgItem(box, button) != nullptr && IsWindowVisible(GetDlgItem(box, button));
    }
    HWND icon = GetDlgItem(box, 0x0440);
    seen->showsIcon = icon != nullptr && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
    seen->textLines = LinesShown(GetDlgItem(box, 0xFFFF));
    for (HWND window : seen->watched) {
        seen->enabled.push_back(IsWindowEnabled(window) != FALSE);
        seen->topmost.push_back((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

BoxSeen ShowAndWatch(const wchar_t* title, const wchar_t* text, std::vector<HWND> watched = {}) {
    BoxSeen seen;
    seen.watched = watched;
    std::thread watcher(WatchAndPressOk, &seen);
    ShowMessage(title, text);
    watcher.join();
    return seen;
}

using Messages = GuiTest;

TEST_F(Messages, WithoutWindowsTheBoxHasNoOwnerAndOneOkButton) {
    const BoxSeen seen = ShowAndWatch(L"Varnhold Benchmark by Ossendry", L"Only one line");
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(seen.title, L"Varnhold Benchmark by Ossendry");
    EXPECT_EQ(seen.text, L"Only one line");
    EXPECT_TRUE(seen.hasOk);
    EXPECT_FALSE(seen.hasCancel);
    EXPECT_FALSE(seen.showsIcon);
    EXPECT_EQ(seen.textLines, 1);
}

TEST_F(Messages, LoneCarriageReturnsSeparateLines) {
    const BoxSeen seen = ShowAndWatch(L"Title", L"One\rTwo\rThree");
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.textLines, 3);
}

// Long lines may wrap besides, depending on the screen.
TEST_F(Messages, InfoMessageShowsEveryLine) {
    const BoxSeen seen = ShowAndWatch(kInfoTitle, kInfoMessage);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, kInfoTitle);
    EXPECT_EQ(seen.text, kInfoMessage);
    EXPECT_GE(seen.textLines, 5);
}

// The foreground window owns the box; every other window of the thread is
// disabled while it is up and enabled again afterwards.
TEST_F(Messages, WindowsAreHeldWhileTheBoxIsUp) {
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 200, L"Main"));
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Front"));
    ASSERT_TRUE(BringToFront(WindowHandle(20)));
    HWND main = WindowHandle(79);
    HWND front = WindowHandle(20);
    const BoxSeen seen = ShowAndWatch(L"Title", L"Text", {main, front});
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, front);
    EXPECT_FALSE(seen.enabled[0]);
    EXPECT_FALSE(seen.enabled[1]);  // the box itself disables its owner
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(IsWindowEnabled(front));
}

struct Held {
    HWND windows[3];
    bool enabled[3];
    bool topmost[3];
};
Held g_held;

void NoteHeldWindows() {
    for (int i = 0; i < 3; ++i) {
        g_held.enabled[i] = IsWindowEnabled(g_held.windows[i]) != FALSE;
        g_held.topmost[i] = (GetWindowLongW(g_held.windows[i], GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    }
}

// A topmost window would stand above the box: it steps down for the box's
// time. Only what was changed is changed back.
TEST_F(Messages, TopmostAndDisabledWindowsAreRestoredAsTheyWere) {
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 200, L"Topmost"));
    ASSERT_TRUE(OpenProgramWindow(30, 400, 300, 200, 100, L"Disabled already"));
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Front"));
    ASSERT_TRUE(BringToFront(WindowHandle(20)));
    g_held = Held{{WindowHandle(79), WindowHandle(30), WindowHandle(20)}, {}, {}};
    SetWindowPos(g_held.windows[0], HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EnableWindow(g_held.windows[1], FALSE);
    InstallUiOsRecorder(UiOsAnswers{.fakeMessageBox = true, .duringMessageBox = NoteHeldWindows});
    ShowMessage(L"Title", L"Text");

    const std::vector<UiCallRecord> boxes = UiCallsOf(UiCall::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].handle, g_held.windows[2]);
    EXPECT_EQ(boxes[0].a, 0u);  // MB_OK: one button, no icon
    EXPECT_EQ(boxes[0].title, L"Title");
    EXPECT_EQ(boxes[0].text, L"Text");
    EXPECT_FALSE(g_held.enabled[0]);
    EXPECT_FALSE(g_held.topmost[0]);
    EXPECT_FALSE(g_held.enabled[1]);
    EXPECT_TRUE(g_held.enabled[2]);  // the owner: the real box disables it itself

    EXPECT_TRUE(IsWindowEnabled(g_held.windows[0]));
    EXPECT_NE(GetWindowLongW(g_held.windows[0], GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(IsWindowEnabled(g_held.windows[1]));
    EXPECT_TRUE(IsWindowEnabled(g_held.windows[2]));
}

TEST_F(Messages, HiddenWindowsAreLeftAlone) {
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 200, L"Hidden"));
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Front"));
    ASSERT_TRUE(BringToFront(WindowHandle(20)));
    ShowWindow(WindowHandle(79), SW_HIDE);
    g_held = Held{{WindowHandle(79), WindowHandle(20), WindowHandle(20)}, {}, {}};
    InstallUiOsRecorder(UiOsAnswers{.fakeMessageBox = true, .duringMessageBox = NoteHeldWindows});
    ShowMessage(L"Title", L"Text");
    EXPECT_TRUE(g_held.enabled[0]);
}

}  // namespace
