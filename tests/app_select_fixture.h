// A fake of the selection dialog's shell and system calls, and a fixture that
// opens the dialog's window 106 for the drive list to live in.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/win.h"
#include "ui/select_os.h"

constexpr DWORD kDrivesCDE = (1u << 2) | (1u << 3) | (1u << 4);

struct SelectScript {
    HRESULT folderResult = S_OK;
    const wchar_t* profilePath = L"C:\\Users\\Ann";
    BOOL pathFound = TRUE;
    DWORD drives = kDrivesCDE;
    bool listMade = true;
};

struct SelectRecord {
    std::vector<std::wstring> calls;
};

extern SelectScript g_selectScript;
extern SelectRecord g_selectRecord;
extern const SelectOs kFakeSelectOs;

std::wstring FakeDriveName(wchar_t letter);  // what the fake shell calls a drive
int FakeDriveIcon(wchar_t letter);

// The drive list's own view of an item.
struct DriveItem {
    std::wstring text;
    int image;
    int selectedImage;
    int indent;
    LPARAM lParam;
};
std::vector<DriveItem> ReadDriveItems(HWND driveList);
HWND InnerCombo(HWND driveList);
std::wstring ReadText(HWND window);  // WM_GETTEXT, as any window reads it

class SelectFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    // Takes events until a control event of that control comes, or a deadline.
    bool WaitForControlEvent(int control, int* type);
    // The types of every control event of the drive list queued so far.
    std::vector<int> DriveListEventTypes(HWND driveList);
};
