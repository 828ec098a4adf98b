// The program's two ways of telling the user it cannot go on: too little free
// memory at start-up, and a test file that cannot be written during a run.
#include "driver/product_test.h"
#include "system/constants.h"

namespace {


class FailureTest : public ProductTest {};

TEST_F(FailureTest, TooLittleFreeMemoryShowsOnlyTheMessageAndEndsWithZero) {
    ASSERT_TRUE(MakeFile(kTestFileOnC, FILE_ATTRIBUTE_NORMAL));
    Start(kLowMemoryProductExe);

    HWND box = WaitForWindow(product, kMessageBoxClass, kWindowWaitMs);

    ASSERT_NE(box, nullptr);
    wchar_t title[128] = {};
    GetWindowTextW(box, title, 128);
    EXPECT_STREQ(title, kMainTitle);
    std::wstring text = MessageBoxText(box);
    EXPECT_EQ(text, kLowMemoryMessage);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\r'), 2);  // three lines
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(VisibleWindowsOf(product), std::vector<HWND>{box});
    CloseMessageBox(box);
    EXPECT_EQ(WaitForExit(product, kWindowWaitMs), 0u);
    EXPECT_TRUE(FileExists(kTestFileOnC));  // no file was touched
}

std::wstring SystemText(DWORD code) {
    wchar_t text[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, 512, nullptr);
    std::wstring reason(text, length);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) reason.pop_back();
    return reason;
}

TEST_F(FailureTest, ATestFileThatCannotBeMadeStopsTheRunWithTheReason) {
    // A folder where the test file should go: the file can never be created.
    ASSERT_TRUE(CreateDirectoryW(kTestFileOnD, nullptr));
    Start(kSmallProductExe);
    HWND info = WaitForWindow(product, kMessageBoxClass, kWindowWaitMs);
    ASSERT_NE(info, nullptr);
    CloseMessageBox(info);
    HWND dialog = WaitForDialog(product);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, kDriveList);
    ASSERT_TRUE(ConfirmDriveItem(list, DriveItemIndex(L'D'), L"D:\\"));
    Press(GetDlgItem(dialog, kOkButton));
    HWND main = WaitForMainWindow(product);
    ASSERT_NE(main, nullptr);

    ASSERT_TRUE(PressStart(main));
    HWND box = WaitForWindow(product, kMessageBoxClass, 60000);

    ASSERT_NE(box, nullptr);
    wchar_t title[128] = {};
    GetWindowTextW(box, title, 128);
    EXPECT_STREQ(title, kMainTitle);
    std::wstring expected = std::wstring(kWriteFailedMessage) + L"\r" + kTestFileOnD + L"\r" +
                            SystemText(ERROR_ACCESS_DENIED);
    EXPECT_EQ(MessageBoxText(box), expected);
    CloseMessageBox(box);
    HWND start = GetDlgItem(main, kStartButton);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(start); }, kWindowWaitMs));
    EXPECT_EQ(TextOf(GetDlgItem(main, kFirstTaskField)), kFailedText);
    for (int number : {91, 92, 93, 94, 95, 96, 97, 98, 99, 103, 104, 105}) {
        EXPECT_EQ(TextOf(GetDlgItem(main, number)), kFieldPlaceholder) << number;
    }
    DWORD attributes = GetFileAttributesW(kTestFileOnD);
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);  // still the folder, no file
    EXPECT_TRUE(CloseMainWindow(product, main));
}

}  // namespace
