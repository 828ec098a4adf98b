// The real program's windows measured on the screen at the prefix's dots per
// inch (this test runs at 96 and at 144): every window and control where the
// layout puts it, with its class, style and first text.
#include <string>

#include "driver/product_test.h"
#include "system/constants.h"

namespace {

enum class Kind { Label, Field, Button };

struct Expected {
    int number;
    Kind kind;
    int x, y, width, height;
    const wchar_t* text;
};

// The main window's layout in logical units, in creation order.
const Expected kMainLayout[] = {
    {80, Kind::Label, 16, 22, 120, 16, L"Task 01 MB/Sec"},
    {81, Kind::Label, 16, 52, 120, 16, L"Task 02 MB/Sec"},
    {82, Kind::Label, 16, 82, 120, 16, L"Task 03 MB/Sec"},
    {83, Kind::Label, 16, 112, 120, 16, L"Task 04 MB/Sec"},
    {84, Kind::Label, 16, 142, 120, 16, L"Task 05 MB/Sec"},
    {85, Kind::Label, 16, 172, 120, 16, L"Task 06 MB/Sec"},
    {86, Kind::Label, 16, 202, 120, 16, L"Task 07 MB/Sec"},
    {87, Kind::Label, 16, 232, 120, 16, L"Task 08 MB/Sec"},
    {88, Kind::Label, 16, 262, 120, 16, L"Task 09 MB/Sec"},
    {89, Kind::Label, 16, 292, 120, 16, L"Task 10 MB/Sec"},
    {90, Kind::Field, 140, 20, 90, 20, L"MB/Sec"},
    {91, Kind::Field, 140, 50, 90, 20, L"MB/Sec"},
    {92, Kind::Field, 140, 80, 90, 20, L"MB/Sec"},
    {93, Kind::Field, 140, 110, 90, 20, L"MB/Sec"},
    {94, Kind::Field, 140, 140, 90, 20, L"MB/Sec"},
    {95, Kind::Field, 140, 170, 90, 20, L"MB/Sec"},
    {96, Kind::Field, 140, 200, 90, 20, L"MB/Sec"},
    {97, Kind::Field, 140, 230, 90, 20, L"MB/Sec"},
    {98, Kind::Field, 140, 260, 90, 20, L"MB/Sec"},
    {99, Kind::Field, 140, 290, 90, 20, L"MB/Sec"},
    {100, Kind::Label, 20, 342, 120, 20, L"Your Min MB/Sec"},
    {103, Kind::Field, 140, 340, 90, 20, L"MB/Sec"},
    {101, Kind::Label, 20, 372, 120, 20, L"Your Max MB/Sec"},
    {104, Kind::Field, 140, 370, 90, 20, L"MB/Sec"},
    {102, Kind::Label, 20, 402, 120, 20, L"Your Average MB/Sec"},
    {105, Kind::Field, 140, 400, 90, 20, L"MB/Sec"},
    {36, Kind::Label, 20, 452, 120, 20, L"WD_BLACK SN850"},
    {38, Kind::Field, 140, 450, 90, 20, L"3577 MB/Sec"},
    {14, Kind::Button, 35, 505, 100, 24, L"Start"},
    {16, Kind::Button, 165, 505, 100, 24, L"Donate"},
};

const wchar_t* ClassOfKind(Kind kind) {
    switch (kind) {
    case Kind::Label: return L"Static";
    case Kind::Field: return L"Edit";
    case Kind::Button: return L"Button";
    }
    return L"";
}

void ExpectRect(HWND parent, int number, int x, int y, int width, int height) {
    SCOPED_TRACE(number);
    RECT rect = ChildRect(parent, number);
    EXPECT_EQ(rect.left, Scale(x));
    EXPECT_EQ(rect.top, Scale(y));
    EXPECT_EQ(rect.right - rect.left, Scale(width));
    EXPECT_EQ(rect.bottom - rect.top, Scale(height));
}

class GeometryTest : public ProductTest {};

TEST_F(GeometryTest, MainWindowHasItsTitleClientSizeAndCorner) {
    Start(kProductExe);
    HWND main = PassInfoAndDialog(product);
    ASSERT_NE(main, nullptr);

    wchar_t title[128] = {};
    GetWindowTextW(main, title, 128);
    EXPECT_STREQ(title, kMainTitle);
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, Scale(kMainClientWidth));
    EXPECT_EQ(client.bottom, Scale(kMainClientHeight));
    RECT outer{};
    GetWindowRect(main, &outer);
    EXPECT_EQ(outer.left, Scale(kMainWindowX));
    EXPECT_EQ(outer.top, Scale(kMainWindowY));
    if (ScreenDpi() == 144) {
        EXPECT_EQ(client.right, 458);  // 457.5 rounds up
        EXPECT_EQ(client.bottom, 840);
        EXPECT_EQ(outer.left, 75);
        EXPECT_EQ(outer.top, 120);
    }
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(main, GWL_STYLE)) & 0x00CF0000u, 0x00C80000u);
}

TEST_F(GeometryTest, EveryControlOfTheMainWindowSitsWhereTheLayoutPutsIt) {
    Start(kProductExe);
    HWND main = PassInfoAndDialog(product);
    ASSERT_NE(main, nullptr);

    for (const Expected& e : kMainLayout) {
        SCOPED_TRACE(e.number);
        HWND control = GetDlgItem(main, e.number);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassOf(control), ClassOfKind(e.kind));
        EXPECT_EQ(TextOf(control), e.text);
        ExpectRect(main, e.number, e.x, e.y, e.width, e.height);
        LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
        LONG_PTR exStyle = GetWindowLongPtrW(control, GWL_EXSTYLE);
        switch (e.kind) {
        case Kind::Label:
            EXPECT_EQ(style & SS_TYPEMASK, SS_CENTER);
            EXPECT_EQ(style & WS_TABSTOP, 0);
            break;
        case Kind::Field:
            EXPECT_NE(style & WS_TABSTOP, 0);
            EXPECT_NE(exStyle & WS_EX_CLIENTEDGE, 0);
            EXPECT_EQ(style & ES_READONLY, 0);
            break;
        case Kind::Button:
            EXPECT_NE(style & WS_TABSTOP, 0);
            EXPECT_TRUE(IsWindowEnabled(control));
            break;
        }
    }
}

TEST_F(GeometryTest, ControlsFollowOneAnotherInCreationOrder) {
    Start(kProductExe);
    HWND main = PassInfoAndDialog(product);
    ASSERT_NE(main, nullptr);

    std::vector<int> order;
    for (HWND child = GetWindow(main, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        order.push_back(GetDlgCtrlID(child));
    }
    std::vector<int> expected;
    for (const Expected& e : kMainLayout) expected.push_back(e.number);
    EXPECT_EQ(order, expected);
}

TEST_F(GeometryTest, DialogControlsSitWhereTheLayoutPutsThem) {
    Start(kProductExe);
    HWND info = WaitForWindow(product, kMessageBoxClass, kWindowWaitMs);
    ASSERT_NE(info, nullptr);
    CloseMessageBox(info);
    HWND dialog = WaitForDialog(product);
    ASSERT_NE(dialog, nullptr);

    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, Scale(kSelectClientWidth));
    EXPECT_EQ(client.bottom, Scale(kSelectClientHeight));
    ExpectRect(dialog, kDriveList, kDriveListX, kDriveListY, kDriveListWidth,
               kDriveListClosedHeight);
    ExpectRect(dialog, kOkButton, kOkButtonX, kOkButtonY, kOkButtonWidth, kOkButtonHeight);
    LONG_PTR okStyle = GetWindowLongPtrW(GetDlgItem(dialog, kOkButton), GWL_STYLE);
    EXPECT_NE(okStyle & WS_TABSTOP, 0);
    EXPECT_EQ(okStyle & BS_NOTIFY, 0);
}

}  // namespace
