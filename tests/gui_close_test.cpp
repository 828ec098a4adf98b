// Every way a user asks a program window to close raises a close event and
// leaves the window where it was.
#include "gui_test_support.h"

namespace {

constexpr int kWindow = 79;
constexpr int kField = 90;

bool IsCloseOfTheWindow(const Event& event) {
    return event.kind == EventKind::Close && event.window == kWindow;
}

class Closing : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(OpenProgramWindow(kWindow, 50, 80, 305, 200, L"Closing"));
        ASSERT_TRUE(AddControl(ControlKind::ValueField, kField, 140, 20, 90, 20, L"MB/Sec"));
        ASSERT_TRUE(BringToFront(WindowHandle(kWindow)));
        PumpEvents();
    }
    void ExpectOneCloseAndTheWindowStays() {
        std::vector<Event> read;
        ASSERT_TRUE(ReadEventsUntil(kWindow, IsCloseOfTheWindow, &read));
        const std::vector<Event> rest = ReadEventsUntilMarker(kWindow);
        read.insert(read.end(), rest.begin(), rest.end());
        int closes = 0;
        for (const Event& event : read) closes += event.kind == EventKind::Close;
        EXPECT_EQ(closes, 1);
        HWND window = WindowHandle(kWindow);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_TRUE(IsWindow(ControlHandle(kField)));
    }
};

// Found the way the user finds it: by pointing at the caption's right end.
POINT CloseBoxOf(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    const int y = outer.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = outer.right - 1; x > outer.left; --x) {
        if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
            return POINT{x - GetSystemMetrics(SM_CXSIZE) / 4, y};
        }
    }
    return POINT{-1, -1};
}

TEST_F(Closing, CloseBox) {
    const POINT box = CloseBoxOf(WindowHandle(kWindow));
    ASSERT_GE(box.x, 0) << "no close box";
    ASSERT_EQ(SendMessageW(WindowHandle(kWindow), WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)), HTCLOSE);
    ClickAt(box);
    ExpectOneCloseAndTheWindowStays();
}

TEST_F(Closing, AltF4FromAValueField) {
    SetFocus(ControlHandle(kField));
    PressKeys({VK_MENU, VK_F4});
    ExpectOneCloseAndTheWindowStays();
    EXPECT_EQ(GetFocus(), ControlHandle(kField));
}

TEST_F(Closing, SystemMenuClose) {
    PostMessageW(WindowHandle(kWindow), WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectOneCloseAndTheWindowStays();
}

// The system menu opened from the keyboard, and its Close chosen by its letter.
TEST_F(Closing, SystemMenuCloseFromTheKeyboard) {
    PressKeys({VK_MENU, VK_SPACE});
    PressKeys({'C'});
    ExpectOneCloseAndTheWindowStays();
}

TEST_F(Closing, AskedAgainAfterwards) {
    PostMessageW(WindowHandle(kWindow), WM_CLOSE, 0, 0);
    ExpectOneCloseAndTheWindowStays();
    PostMessageW(WindowHandle(kWindow), WM_CLOSE, 0, 0);
    ExpectOneCloseAndTheWindowStays();
}

}  // namespace
