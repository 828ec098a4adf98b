// The drive combo box in a real window 106, with a fake shell: its items, the
// start drive, the path text that reading its text returns, its closed
// height, and what confirming an item does.
#include "app_select_fixture.h"
#include "system/constants.h"
#include "ui/drive_list.h"
#include "ui/gui.h"
#include "ui/gui_internal.h"
#include "ui/select_target.h"

#include <algorithm>

#include <commctrl.h>

namespace {

class DriveListTest : public SelectFixture {
protected:
    void SetUp() override {
        SelectFixture::SetUp();
        ASSERT_TRUE(OpenProgramWindow(kSelectWindow, kCentred, kCentred, kSelectClientWidth,
                                      kSelectClientHeight, kSelectTitle));
    }
    void TearDown() override {
        CloseProgramWindow(kSelectWindow);
        SelectFixture::TearDown();
    }
    HWND MakeList(const wchar_t* startFolder) {
        EXPECT_TRUE(MakeDriveList(startFolder));
        return ControlHandle(kDriveList);
    }
};

TEST_F(DriveListTest, ListsEveryDriveInLetterOrderWithShellNameIconAndNumber) {
    g_selectScript.drives = (1u << 25) | (1u << 0) | kDrivesCDE;  // Z, A, C, D, E

    HWND list = MakeList(L"C:\\Users\\Ann\\");

    ASSERT_NE(list, nullptr);
    std::vector<DriveItem> items = ReadDriveItems(list);
    const wchar_t letters[] = L"ACDEZ";
    ASSERT_EQ(items.size(), 5u);
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].text, FakeDriveName(letters[i]));
        EXPECT_EQ(items[i].image, FakeDriveIcon(letters[i]));
        EXPECT_EQ(items[i].selectedImage, FakeDriveIcon(letters[i]));
        EXPECT_EQ(items[i].indent, 0);
        EXPECT_EQ(items[i].lParam, letters[i] - L'A');
    }
}

TEST_F(DriveListTest, ControlIsAnExtendedDropDownListWithTheUiFont) {
    HWND list = MakeList(L"C:\\Users\\Ann\\");

    ASSERT_NE(list, nullptr);
    wchar_t className[64] = {};
    GetClassNameW(list, className, 64);
    EXPECT_STREQ(className, L"ComboBoxEx32");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE)) & 0xFFFF000Fu, 0x50000003u);
    EXPECT_EQ(GetWindowLongPtrW(list, GWLP_ID), kDriveList);
    EXPECT_EQ(GetParent(list), LastProgramWindow());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)), UiFont());
    EXPECT_NE(SendMessageW(list, CBEM_GETIMAGELIST, 0, 0), 0);
}

TEST_F(DriveListTest, ClosedControlIsTheScaledTwentyFiveHighAtItsPlace) {
    HWND list = MakeList(L"C:\\Users\\Ann\\");

    ASSERT_NE(list, nullptr);
    RECT rect{};
    GetWindowRect(list, &rect);
    MapWindowPoints(nullptr, LastProgramWindow(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, ScaleX(kDriveListX));
    EXPECT_EQ(rect.top, ScaleY(kDriveListY));
    EXPECT_EQ(rect.right - rect.left, ScaleX(kDriveListWidth));
    EXPECT_EQ(rect.bottom - rect.top, ScaleY(kDriveListClosedHeight));
}

struct StartCase {
    const char* name;
    const wchar_t* startFolder;
    int selected;
    const wchar_t* pathText;
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class DriveListStartTest : public DriveListTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(DriveListStartTest, StartFolderChoosesTheSelectionAndThePathText) {
    HWND list = MakeList(GetParam().startFolder);

    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(InnerCombo(list), CB_GETCURSEL, 0, 0), GetParam().selected);
    EXPECT_EQ(ReadText(list), GetParam().pathText);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DriveListStartTest,
    ::testing::Values(StartCase{"Profile", L"C:\\Users\\Ann\\", 0, L"C:\\"},
                      StartCase{"LowerCase", L"c:\\users\\ann\\", 0, L"C:\\"},
                      StartCase{"DeepBelowE", L"E:\\a\\b\\c\\d\\", 2, L"E:\\"},
                      StartCase{"LetterNotPresent", L"Q:\\Users\\Ann\\", -1, L"Q:\\"},
                      StartCase{"NetworkPath", L"\\\\server\\home\\ann\\", -1, L""},
                      StartCase{"Empty", L"", -1, L""},
                      StartCase{"Digit", L"1:\\", -1, L""}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST_F(DriveListTest, NoSystemErrorBoxWhileTheShellLooksAtTheDrives) {
    MakeList(L"C:\\Users\\Ann\\");

    std::vector<std::wstring>& calls = g_selectRecord.calls;
    auto first = std::find(calls.begin(), calls.end(), L"SetErrorMode 1");
    auto last = std::find(calls.begin(), calls.end(), L"SetErrorMode 0");
    auto drives = std::find(calls.begin(), calls.end(), L"GetLogicalDrives");
    ASSERT_NE(first, calls.end());
    ASSERT_NE(last, calls.end());
    EXPECT_LT(first, drives);
    EXPECT_LT(drives, last);
    EXPECT_EQ(std::count_if(first, last,
                            [](const std::wstring& c) { return c.rfind(L"SHGetFileInfoW", 0) == 0; }),
              6);  // name and icon of C, D and E
    EXPECT_EQ(std::count_if(last, calls.end(),
                            [](const std::wstring& c) { return c.rfind(L"SHGetFileInfoW", 0) == 0; }),
              0);
}

TEST_F(DriveListTest, FillingAgainReplacesEveryItem) {
    HWND list = MakeList(L"C:\\");
    g_selectScript.drives = (1u << 3) | (1u << 25);

    FillDriveList(L"Z:\\");

    std::vector<DriveItem> items = ReadDriveItems(list);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].lParam, 3);
    EXPECT_EQ(items[1].lParam, 25);
    EXPECT_EQ(SendMessageW(InnerCombo(list), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(ReadText(list), L"Z:\\");
}

TEST_F(DriveListTest, TextReadsCopyThePathTextNeverTheShownName) {
    HWND list = MakeList(L"D:\\Users\\Ann\\");

    wchar_t text[8];
    wmemset(text, L'#', 8);
    EXPECT_EQ(SendMessageW(list, WM_GETTEXT, 2, reinterpret_cast<LPARAM>(text)), 1);
    EXPECT_EQ(std::wstring(text), L"D");
    EXPECT_EQ(SendMessageW(list, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(text)), 0);
    EXPECT_EQ(SendMessageW(list, WM_GETTEXTLENGTH, 0, 0), 3);
    wchar_t whole[16] = {};
    EXPECT_EQ(GetWindowTextW(list, whole, 16), 3);
    EXPECT_STREQ(whole, L"D:\\");
    EXPECT_EQ(DriveListText(), L"D:\\");
}

// Opens the list, moves the highlight by some rows and ends with a key, as the
// keyboard does; the keys go to the inner combo box, which has the focus.
void BrowseList(HWND list, int rows, WORD endKey) {
    HWND combo = InnerCombo(list);
    SetFocus(combo);
    SendMessageW(combo, WM_KEYDOWN, VK_F4, 0);
    for (int i = 0; i < rows; ++i) SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(combo, WM_KEYDOWN, endKey, 0);
}

TEST_F(DriveListTest, ConfirmingAnItemSetsThePathTextAndRaisesOneEventOfTypeZero) {
    HWND list = MakeList(L"C:\\Users\\Ann\\");

    BrowseList(list, 2, VK_RETURN);

    // Browsing raises ordinary notifications too; the confirmation is type 0.
    std::vector<int> types = DriveListEventTypes(list);
    EXPECT_EQ(std::count(types.begin(), types.end(), 0), 1);
    EXPECT_EQ(std::count(types.begin(), types.end(), CBN_SELENDOK), 0);
    EXPECT_EQ(ReadText(list), L"E:\\");
    EXPECT_EQ(SendMessageW(InnerCombo(list), CB_GETCURSEL, 0, 0), 2);
}

TEST_F(DriveListTest, LeavingTheListWithEscapeKeepsThePathText) {
    HWND list = MakeList(L"C:\\Users\\Ann\\");

    BrowseList(list, 1, VK_ESCAPE);

    std::vector<int> types = DriveListEventTypes(list);
    EXPECT_EQ(std::count(types.begin(), types.end(), 0), 0);
    EXPECT_EQ(ReadText(list), L"C:\\");
}

TEST_F(DriveListTest, ConfirmingWithNothingSelectedEmptiesThePathText) {
    HWND list = MakeList(L"C:\\Users\\Ann\\");
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);

    SendMessageW(LastProgramWindow(), WM_COMMAND, MAKEWPARAM(kDriveList, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(list));

    int type = -1;
    ASSERT_TRUE(WaitForControlEvent(kDriveList, &type));
    EXPECT_EQ(type, 0);
    EXPECT_EQ(ReadText(list), L"");
}

struct ProfileCase {
    const char* name;
    HRESULT folderResult;
    const wchar_t* path;
    BOOL pathFound;
    const wchar_t* startFolder;
    std::vector<std::wstring> calls;
};

void PrintTo(const ProfileCase& c, std::ostream* os) { *os << c.name; }

class ProfileFolderTest : public SelectFixture, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileFolderTest, ProfileFolderEndsInOneBackslashOrIsEmpty) {
    g_selectScript.folderResult = GetParam().folderResult;
    g_selectScript.profilePath = GetParam().path;
    g_selectScript.pathFound = GetParam().pathFound;

    EXPECT_EQ(ProfileStartFolder(), GetParam().startFolder);
    EXPECT_EQ(g_selectRecord.calls, GetParam().calls);
}

const std::vector<std::wstring> kAllThree = {L"SHGetFolderLocation 40", L"SHGetPathFromIDListW",
                                             L"CoTaskMemFree"};

INSTANTIATE_TEST_SUITE_P(
    Shell, ProfileFolderTest,
    ::testing::Values(
        ProfileCase{"Plain", S_OK, L"C:\\Users\\Ann", TRUE, L"C:\\Users\\Ann\\", kAllThree},
        ProfileCase{"TrailingBackslash", S_OK, L"C:\\", TRUE, L"C:\\", kAllThree},
        ProfileCase{"Network", S_OK, L"\\\\server\\ann", TRUE, L"\\\\server\\ann\\", kAllThree},
        ProfileCase{"NoPath", S_OK, L"", FALSE, L"", kAllThree},
        ProfileCase{"NoFolder", E_FAIL, L"", FALSE, L"", {L"SHGetFolderLocation 40"}}),
    [](const ::testing::TestParamInfo<ProfileCase>& info) { return std::string(info.param.name); });

}  // namespace
