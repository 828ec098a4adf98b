// The real program from its start to the main window: the info box, the
// selection dialog with the prefix's drives, the choice of a drive and what
// the program does with it, and that only OK ends the dialog.
#include <string>

#include "driver/product_test.h"
#include "system/constants.h"

#include <commctrl.h>

namespace {


std::vector<wchar_t> LogicalDriveLetters() {
    std::vector<wchar_t> letters;
    DWORD drives = GetLogicalDrives();
    for (int n = 0; n < 26; ++n) {
        if (drives & (1u << n)) letters.push_back(static_cast<wchar_t>(L'A' + n));
    }
    return letters;
}

std::wstring Root(wchar_t letter) { return std::wstring(1, letter) + L":\\"; }

class DialogTest : public ProductTest {
protected:
    HWND PassInfo() {
        HWND info = WaitForWindow(product, kMessageBoxClass, kWindowWaitMs);
        if (info != nullptr) CloseMessageBox(info);
        return WaitForDialog(product);
    }
};

TEST_F(DialogTest, InfoBoxComesFirstAloneWithItsTitleAndFiveLines) {
    Start(kProductExe);

    HWND info = WaitForWindow(product, kMessageBoxClass, kWindowWaitMs);

    ASSERT_NE(info, nullptr);
    wchar_t title[128] = {};
    GetWindowTextW(info, title, 128);
    EXPECT_STREQ(title, kInfoTitle);
    std::wstring text = MessageBoxText(info);
    EXPECT_EQ(text, kInfoMessage);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\r'), 4);  // five lines
    EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
    EXPECT_EQ(GetWindow(info, GW_OWNER), nullptr);
    EXPECT_EQ(VisibleWindowsOf(product), std::vector<HWND>{info});
    EXPECT_NE(GetDlgItem(info, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(info, IDCANCEL), nullptr);
}

TEST_F(DialogTest, DialogIsCentredAndListsEveryDriveWithTheProfileDriveChosen) {
    Start(kProductExe);

    HWND dialog = PassInfo();

    ASSERT_NE(dialog, nullptr);
    wchar_t title[128] = {};
    GetWindowTextW(dialog, title, 128);
    EXPECT_STREQ(title, kSelectTitle);
    RECT outer{};
    GetWindowRect(dialog, &outer);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, Scale(kSelectClientWidth));
    EXPECT_EQ(client.bottom, Scale(kSelectClientHeight));

    HWND list = GetDlgItem(dialog, kDriveList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ClassOf(list), L"ComboBoxEx32");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, kOkButton)), L"OK");
    std::vector<wchar_t> letters = LogicalDriveLetters();
    ASSERT_GE(letters.size(), 3u);  // C:, the tests' D: and Z:
    HWND combo = reinterpret_cast<HWND>(SendMessageW(list, CBEM_GETCOMBOCONTROL, 0, 0));
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(letters.size()));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), DriveItemIndex(L'C'));
    EXPECT_EQ(TextOf(list), L"C:\\");  // the profile folder lies on C:
}

TEST_F(DialogTest, ConfirmingEachItemGivesItsDriveRootInLetterOrder) {
    Start(kProductExe);
    HWND dialog = PassInfo();
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, kDriveList);

    std::vector<wchar_t> letters = LogicalDriveLetters();
    for (size_t i = 0; i < letters.size(); ++i) {
        std::wstring text = Root(letters[i]);
        EXPECT_TRUE(ConfirmDriveItem(list, static_cast<int>(i), text))
            << "item " << i << " never gave " << std::string(text.begin(), text.end());
    }
}

TEST_F(DialogTest, ChosenDriveIsWhereTheLeftOverTestFileIsDeleted) {
    ASSERT_TRUE(MakeFile(kTestFileOnC, FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(MakeFile(kTestFileOnD, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    Start(kProductExe);
    HWND dialog = PassInfo();
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, kDriveList);

    // The last confirmed choice wins.
    ASSERT_TRUE(ConfirmDriveItem(list, DriveItemIndex(L'Z'), L"Z:\\"));
    ASSERT_TRUE(ConfirmDriveItem(list, DriveItemIndex(L'D'), L"D:\\"));
    Press(GetDlgItem(dialog, kOkButton));
    HWND main = WaitForMainWindow(product);

    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(FileExists(kTestFileOnD));  // deleted before the main window, read-only or not
    EXPECT_TRUE(FileExists(kTestFileOnC));
    EXPECT_TRUE(CloseMainWindow(product, main));
}

TEST_F(DialogTest, OnlyOkEndsTheDialogNeitherAltF4NorTheSystemMenu) {
    Start(kProductExe);
    HWND dialog = PassInfo();
    ASSERT_NE(dialog, nullptr);
    HWND ok = GetDlgItem(dialog, kOkButton);
    SetForegroundWindow(dialog);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, kWindowWaitMs));
    ASSERT_EQ(FocusedWindow(product), dialog);
    // Tab reaches the only tab stop once the keyboard reaches the dialog.
    ASSERT_TRUE(RepeatUntil([] { KeyPress(VK_TAB); },
                            [&] { return FocusedWindow(product) == ok; }, kWindowWaitMs));

    KeyPress(VK_F4, /*withAlt=*/true);
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    // Keys come in order: had the dialog closed, this Space would press
    // nothing and no main window would come.
    KeyPress(VK_SPACE);
    HWND main = WaitForMainWindow(product);

    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WaitForWindow(product, kMessageBoxClass, 0), nullptr);
    EXPECT_TRUE(CloseMainWindow(product, main));
}

TEST_F(DialogTest, ClosingTheMainWindowEndsTheProgramWithZero) {
    Start(kProductExe);
    HWND main = PassInfoAndDialog(product);
    ASSERT_NE(main, nullptr);

    EXPECT_TRUE(CloseMainWindow(product, main));
    EXPECT_FALSE(IsWindow(main));
}

}  // namespace
