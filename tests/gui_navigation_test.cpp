// Tab and Shift+Tab between controls, the focus a window keeps while inactive,
// and the keyboard cues.
#include "gui_test_support.h"

namespace {

constexpr int kWindow = 10;
// In creation order: only 90, 91 and 16 can take the focus.
constexpr int kLabel = 80;
constexpr int kFirstField = 90;
constexpr int kDisabledButton = 14;
constexpr int kSecondField = 91;
constexpr int kSecondLabel = 81;
constexpr int kButton = 16;
constexpr int kHiddenButton = 17;
constexpr int kNoControl = 0;
constexpr LRESULT kBothCuesHidden = UISF_HIDEFOCUS | UISF_HIDEACCEL;

class Navigation : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(OpenProgramWindow(kWindow, 50, 80, 300, 250, L"Navigation"));
        ASSERT_TRUE(AddControl(ControlKind::Label, kLabel, 140, 22, 120, 16, L"Task 01 MB/Sec"));
        ASSERT_TRUE(AddControl(ControlKind::ValueField, kFirstField, 20, 20, 90, 20, L"MB/Sec"));
        ASSERT_TRUE(AddControl(ControlKind::Button, kDisabledButton, 20, 50, 100, 24, L"Start"));
        ASSERT_TRUE(AddControl(ControlKind::ValueField, kSecondField, 20, 80, 90, 20, L"MB/Sec"));
        ASSERT_TRUE(AddControl(ControlKind::Label, kSecondLabel, 140, 82, 120, 16, L"Task 02 MB/Sec"));
        ASSERT_TRUE(AddControl(ControlKind::Button, kButton, 20, 120, 100, 24, L"Donate"));
        ASSERT_TRUE(AddControl(ControlKind::Button, kHiddenButton, 140, 120, 100, 24, L"Hidden"));
        SetControlEnabled(kDisabledButton, false);
        ShowWindow(ControlHandle(kHiddenButton), SW_HIDE);
        ASSERT_TRUE(BringToFront(Window()));
        PumpEvents();
    }
    HWND Window() { return WindowHandle(kWindow); }
    void Focus(int control) {
        SetFocus(control == kNoControl ? Window() : ControlHandle(control));
        ReadEventsUntilMarker(kWindow);
    }
    // The key as the system delivers it to the focused window, read by the machinery.
    std::vector<Event> PressTab(bool shift) {
        HoldShift(shift);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
        std::vector<Event> read = ReadEventsUntilMarker(kWindow);
        HoldShift(false);
        return read;
    }
    HWND Focused(int control) { return control == kNoControl ? Window() : ControlHandle(control); }
};

struct TabCase {
    const char* name;
    int from;
    bool shift;
    int to;
};

// Names the case in test listings.
void PrintTo(const TabCase& c, std::ostream* out) { *out << c.name; }

class TabOrder : public Navigation, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabOrder, MovesToTheNextControlThatCanTakeTheFocus) {
    Focus(GetParam().from);
    ASSERT_EQ(GetFocus(), Focused(GetParam().from));
    PressTab(GetParam().shift);
    EXPECT_EQ(GetFocus(), ControlHandle(GetParam().to));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TabOrder,
    ::testing::Values(TabCase{"noFocusTabGoesToTheFirst", kNoControl, false, kFirstField},
                      TabCase{"noFocusShiftTabGoesToTheLast", kNoControl, true, kButton},
                      TabCase{"skipsDisabled", kFirstField, false, kSecondField},
                      TabCase{"skipsLabels", kSecondField, false, kButton},
                      TabCase{"lastWrapsToFirstSkippingHidden", kButton, false, kFirstField},
                      TabCase{"firstWrapsBackToLast", kFirstField, true, kButton},
                      TabCase{"backSkipsLabels", kButton, true, kSecondField},
                      TabCase{"backSkipsDisabled", kSecondField, true, kFirstField}),
    [](const ::testing::TestParamInfo<TabCase>& info) { return std::string(info.param.name); });

// Tab is the window's accelerator: the field never sees it as a character.
TEST_F(Navigation, TabMovesFocusWithItsEventsAndTypesNothing) {
    Focus(kFirstField);
    const std::vector<Event> read = ControlEventsOf(PressTab(false));
    ASSERT_GE(read.size(), 2u);
    EXPECT_TRUE(SameEvent(read.front(), Event{EventKind::Control, kWindow, kFirstField, kEventFocusLost}));
    bool gained = false;
    for (const Event& event : read) {
        gained |= SameEvent(event, Event{EventKind::Control, kWindow, kSecondField, kEventFocusGained});
        EXPECT_NE(event.type, EN_CHANGE) << event;
    }
    EXPECT_TRUE(gained);
    wchar_t text[16] = {};
    GetWindowTextW(ControlHandle(kFirstField), text, 16);
    EXPECT_STREQ(text, L"MB/Sec");
}

TEST_F(Navigation, FollowsEnabledStateAsItChanges) {
    Focus(kSecondField);
    SetControlEnabled(kButton, false);
    PressTab(false);
    EXPECT_EQ(GetFocus(), ControlHandle(kFirstField));
    SetControlEnabled(kDisabledButton, true);
    PressTab(false);
    EXPECT_EQ(GetFocus(), ControlHandle(kDisabledButton));
}

TEST_F(Navigation, RealKeyboardTabAndShiftTab) {
    Focus(kButton);
    PressKeys({VK_TAB});
    EXPECT_TRUE(ReadEventsUntil(kWindow, [this](const Event&) { return GetFocus() == ControlHandle(kFirstField); }));
    PressKeys({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(ReadEventsUntil(kWindow, [this](const Event&) { return GetFocus() == ControlHandle(kButton); }));
}

// A window with no control that can take the focus keeps it where it is.
TEST_F(Navigation, NothingToMoveTo) {
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Labels only"));
    ASSERT_TRUE(AddControl(ControlKind::Label, 21, 10, 10, 100, 16, L"Label"));
    ASSERT_TRUE(BringToFront(WindowHandle(20)));
    SetFocus(WindowHandle(20));
    HoldShift(false);
    PostMessageW(WindowHandle(20), WM_KEYDOWN, VK_TAB, 0x000F0001);
    ReadEventsUntilMarker(20);
    EXPECT_EQ(GetFocus(), WindowHandle(20));
}

// Wine's DefWindowProc keeps no keyboard-cue state (WM_QUERYUISTATE always
// answers 0). This keeps it for the window as Windows does, and notes every
// change the window is sent.
struct CueKeeper {
    LRESULT hidden;
    std::vector<WPARAM> updates;
};
CueKeeper g_cues;

LRESULT CALLBACK KeepCues(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_QUERYUISTATE) return g_cues.hidden;
    if (message == WM_UPDATEUISTATE) {
        g_cues.updates.push_back(wParam);
        if (LOWORD(wParam) == UIS_SET) g_cues.hidden |= HIWORD(wParam);
        if (LOWORD(wParam) == UIS_CLEAR) g_cues.hidden &= ~static_cast<LRESULT>(HIWORD(wParam));
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

class Cues : public Navigation {
protected:
    void KeepCuesOf(HWND window, LRESULT hidden) {
        ReadEventsUntilMarker(kWindow);
        g_cues = CueKeeper{hidden, {}};
        SetWindowSubclass(window, KeepCues, 1, 0);
    }
};

constexpr WPARAM kShowBoth = 0x30002;
constexpr WPARAM kHideBoth = 0x30001;

TEST_F(Cues, TabShowsHiddenCuesOnce) {
    Focus(kFirstField);
    KeepCuesOf(Window(), kBothCuesHidden);
    PressTab(false);
    EXPECT_EQ(g_cues.updates, std::vector<WPARAM>{kShowBoth});
    EXPECT_EQ(g_cues.hidden, 0);
    PressTab(false);
    EXPECT_EQ(g_cues.updates.size(), 1u);
}

TEST_F(Cues, OneHiddenCueIsEnoughToShowThem) {
    Focus(kFirstField);
    KeepCuesOf(Window(), UISF_HIDEACCEL);
    PressTab(false);
    EXPECT_EQ(g_cues.updates, std::vector<WPARAM>{kShowBoth});
}

TEST_F(Cues, ModifierHeldWhileReadingShowsThem) {
    KeepCuesOf(Window(), kBothCuesHidden);
    ReadEventsUntilMarker(kWindow);
    EXPECT_TRUE(g_cues.updates.empty());
    HoldShift(true);
    ReadEventsUntilMarker(kWindow);
    HoldShift(false);
    EXPECT_EQ(g_cues.updates, std::vector<WPARAM>{kShowBoth});
}

TEST_F(Cues, LeavingTheWindowHidesThem) {
    KeepCuesOf(Window(), 0);
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Other"));
    EXPECT_NE(GetActiveWindow(), Window());
    EXPECT_EQ(g_cues.updates, std::vector<WPARAM>{kHideBoth});
    EXPECT_EQ(g_cues.hidden, kBothCuesHidden);
}

TEST_F(Cues, LeavingWithBothHiddenSendsNothing) {
    KeepCuesOf(Window(), kBothCuesHidden);
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Other"));
    EXPECT_TRUE(g_cues.updates.empty());
}

// Deactivated and activated again, the window gives the focus back.
TEST_F(Navigation, WindowRemembersItsFocusedControl) {
    Focus(kSecondField);
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Other"));
    ASSERT_TRUE(AddControl(ControlKind::ValueField, 22, 10, 10, 100, 20, L""));
    SetFocus(ControlHandle(22));
    EXPECT_EQ(GetFocus(), ControlHandle(22));
    ASSERT_TRUE(BringToFront(Window()));
    EXPECT_EQ(GetFocus(), ControlHandle(kSecondField));
    ASSERT_TRUE(BringToFront(WindowHandle(20)));
    EXPECT_EQ(GetFocus(), ControlHandle(22));
}

TEST_F(Navigation, WindowWithoutAFocusedControlGetsNoneBack) {
    Focus(kNoControl);
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Other"));
    ASSERT_TRUE(BringToFront(Window()));
    EXPECT_EQ(GetFocus(), Window());
    PressTab(false);
    EXPECT_EQ(GetFocus(), ControlHandle(kFirstField));
}

}  // namespace
