// Keyboard navigation of the real program's main window with real key
// presses: Tab visits the value fields, then Start and Donate, and wraps.
#include <string>

#include "driver/product_test.h"
#include "system/constants.h"

namespace {

// The number of the focused control; 0 when the window itself has the focus.
int FocusedControl(const Product& product) {
    HWND focus = FocusedWindow(product);
    return focus == nullptr ? 0 : GetDlgCtrlID(focus);
}

class KeyboardTest : public ProductTest {
protected:
    HWND OpenMain() {
        Start(kProductExe);
        HWND main = PassInfoAndDialog(product);
        if (main != nullptr) {
            SetForegroundWindow(main);
            WaitUntil([&] { return GetForegroundWindow() == main; }, kWindowWaitMs);
        }
        return main;
    }
    // Presses the key and waits until the focus moves to the control expected.
    bool PressAndExpectFocus(WORD key, bool withShift, int expected) {
        KeyPress(key, false, withShift);
        return WaitUntil([&] { return FocusedControl(product) == expected; }, kWindowWaitMs);
    }
};

TEST_F(KeyboardTest, TabVisitsFieldsThenStartThenDonateAndWraps) {
    HWND main = OpenMain();
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(FocusedControl(product), 0) << "no control has the focus at first";
    // The first key that reaches the window goes to the first field.
    ASSERT_TRUE(RepeatUntil([] { KeyPress(VK_TAB); },
                            [&] { return FocusedControl(product) != 0; }, kWindowWaitMs));
    EXPECT_EQ(FocusedControl(product), 90);

    const int order[] = {91, 92, 93, 94, 95, 96, 97, 98, 99, 103, 104, 105, 38, 14, 16, 90};
    for (int expected : order) {
        EXPECT_TRUE(PressAndExpectFocus(VK_TAB, false, expected))
            << "expected " << expected << ", focus on " << FocusedControl(product);
    }
}

TEST_F(KeyboardTest, ShiftTabGoesBackwardsAndWrapsFromTheFirstFieldToDonate) {
    HWND main = OpenMain();
    ASSERT_NE(main, nullptr);

    ASSERT_TRUE(RepeatUntil([] { KeyPress(VK_TAB); },
                            [&] { return FocusedControl(product) != 0; }, kWindowWaitMs));
    EXPECT_EQ(FocusedControl(product), 90);
    EXPECT_TRUE(PressAndExpectFocus(VK_TAB, true, 16));
    EXPECT_TRUE(PressAndExpectFocus(VK_TAB, true, 14));
    EXPECT_TRUE(PressAndExpectFocus(VK_TAB, true, 38));
    EXPECT_TRUE(PressAndExpectFocus(VK_TAB, false, 14));
}

}  // namespace
