// The whole selection dialog with a fake shell, worked from a timer while
// SelectTargetFolder waits: what it returns, that only OK ends it, and that
// it leaves nothing behind.
#include <functional>

#include "app_select_fixture.h"
#include "system/constants.h"
#include "ui/gui.h"
#include "ui/gui_internal.h"
#include "ui/select_target.h"

#include <commctrl.h>

namespace {

// Steps run one per timer tick while the dialog waits for events.
struct DialogScript {
    std::vector<std::function<void(HWND dialog)>> steps;
    size_t next;
    bool dialogSeen;
    RECT windowRect;
    std::wstring title;
};

DialogScript g_dialog;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (wcscmp(name, L"WindowClass_106") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// This thread's dialog window: other programs may show one of their own.
HWND DialogWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = DialogWindow();
    if (dialog == nullptr || g_dialog.next >= g_dialog.steps.size()) return;
    g_dialog.dialogSeen = true;
    g_dialog.steps[g_dialog.next++](dialog);
}

std::optional<std::wstring> RunDialog(std::vector<std::function<void(HWND)>> steps) {
    g_dialog = DialogScript{std::move(steps), 0, false, {}, {}};
    UINT_PTR timer = SetTimer(nullptr, 0, 20, RunNextStep);
    std::optional<std::wstring> folder = SelectTargetFolder();
    KillTimer(nullptr, timer);
    return folder;
}

void PressOk(HWND dialog) { PostMessageW(GetDlgItem(dialog, kOkButton), BM_CLICK, 0, 0); }

std::function<void(HWND)> Confirm(int index) {
    return [index](HWND dialog) {
        HWND combo = InnerCombo(GetDlgItem(dialog, kDriveList));
        SetFocus(combo);
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(combo, WM_KEYDOWN, VK_RETURN, 0);
    };
}

using SelectDialogTest = SelectFixture;

TEST_F(SelectDialogTest, OkAtOnceReturnsTheProfileDrive) {
    std::optional<std::wstring> folder = RunDialog({
        [](HWND dialog) {
            GetWindowRect(dialog, &g_dialog.windowRect);
            wchar_t title[64] = {};
            GetWindowTextW(dialog, title, 64);
            g_dialog.title = title;
        },
        PressOk,
    });

    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder, L"C:\\");
    EXPECT_EQ(g_dialog.title, kSelectTitle);
    int width = g_dialog.windowRect.right - g_dialog.windowRect.left;
    int height = g_dialog.windowRect.bottom - g_dialog.windowRect.top;
    EXPECT_EQ(g_dialog.windowRect.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(g_dialog.windowRect.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

TEST_F(SelectDialogTest, TheLastConfirmedDriveWins) {
    std::optional<std::wstring> folder = RunDialog({Confirm(2), Confirm(1), PressOk});

    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder, L"D:\\");
}

TEST_F(SelectDialogTest, CloseRequestsLeaveTheDialogOpen) {
    std::optional<std::wstring> folder = RunDialog({
        [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); },
        [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
        Confirm(1),
        PressOk,
    });

    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(g_dialog.next, 4u);  // every step found the dialog still there
    EXPECT_EQ(*folder, L"D:\\");
}

TEST_F(SelectDialogTest, WithoutAProfileFolderOkBeforeAnyChoiceReturnsEmpty) {
    g_selectScript.folderResult = E_FAIL;

    std::optional<std::wstring> folder = RunDialog({PressOk});

    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder, L"");
}

TEST_F(SelectDialogTest, ANetworkProfileSelectsNothingUntilAChoice) {
    g_selectScript.profilePath = L"\\\\server\\home\\ann";

    std::optional<std::wstring> folder = RunDialog({
        [](HWND dialog) {
            EXPECT_EQ(SendMessageW(InnerCombo(GetDlgItem(dialog, kDriveList)), CB_GETCURSEL, 0, 0),
                      -1);
        },
        Confirm(2),
        PressOk,
    });

    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder, L"E:\\");
}

TEST_F(SelectDialogTest, DialogAndItsControlsAreGoneAfterOk) {
    RunDialog({PressOk});

    EXPECT_TRUE(g_dialog.dialogSeen);
    EXPECT_EQ(DialogWindow(), nullptr);
    EXPECT_EQ(ControlHandle(kDriveList), nullptr);
    EXPECT_EQ(ControlHandle(kOkButton), nullptr);
}

TEST_F(SelectDialogTest, ADriveListThatCannotBeMadeEndsTheDialogWithNothing) {
    g_selectScript.listMade = false;

    std::optional<std::wstring> folder = RunDialog({PressOk});

    EXPECT_FALSE(folder.has_value());
    EXPECT_FALSE(g_dialog.dialogSeen);
    EXPECT_EQ(DialogWindow(), nullptr);
}

}  // namespace
