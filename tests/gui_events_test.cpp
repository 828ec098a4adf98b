// Events raised by real messages and input at a program window and its
// controls, and the rules of reading them.
#include <algorithm>

#include "gui_test_support.h"

namespace {

constexpr int kWindow = 10;
constexpr int kFirstField = 90;
constexpr int kSecondField = 91;
constexpr int kStart = 14;
constexpr int kDonate = 16;
constexpr int kLabel = 80;

Event ControlEvent(int control, int type) { return Event{EventKind::Control, kWindow, control, type}; }

void ExpectEvents(const std::vector<Event>& actual, const std::vector<Event>& expected) {
    ASSERT_EQ(actual.size(), expected.size()) << ::testing::PrintToString(actual);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(SameEvent(actual[i], expected[i])) << "at " << i << ": " << actual[i];
    }
}

class Events : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(OpenProgramWindow(kWindow, 50, 80, 300, 200, L"Events"));
        ASSERT_TRUE(AddControl(ControlKind::Label, kLabel, 140, 22, 120, 16, L"Task 01 MB/Sec"));
        ASSERT_TRUE(AddControl(ControlKind::ValueField, kFirstField, 20, 20, 90, 20, L"MB/Sec"));
        ASSERT_TRUE(AddControl(ControlKind::ValueField, kSecondField, 20, 50, 90, 20, L"MB/Sec"));
        ASSERT_TRUE(AddControl(ControlKind::Button, kStart, 20, 100, 100, 24, L"Start"));
        ASSERT_TRUE(AddControl(ControlKind::Button, kDonate, 140, 100, 100, 24, L"Donate"));
        ASSERT_TRUE(BringToFront(WindowHandle(kWindow)));
        PumpEvents();
    }
    HWND Window() { return WindowHandle(kWindow); }
    void SendClick(int control) {
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                     reinterpret_cast<LPARAM>(ControlHandle(control)));
    }
};

TEST_F(Events, PressedButtonRaisesOneClick) {
    PostMessageW(ControlHandle(kStart), BM_CLICK, 0, 0);
    ExpectEvents(ControlEventsOf(ReadEventsUntilMarker(kWindow)), {ControlEvent(kStart, BN_CLICKED)});
}

TEST_F(Events, MouseClickOnButtonRaisesOneClick) {
    ClickAt(CentreOnScreen(ControlHandle(kDonate)));
    std::vector<Event> read;
    ASSERT_TRUE(ReadEventsUntil(kWindow, [](const Event& e) { return e.kind == EventKind::Control; }, &read));
    const std::vector<Event> more = ReadEventsUntilMarker(kWindow);
    read.insert(read.end(), more.begin(), more.end());
    ExpectEvents(ControlEventsOf(read), {ControlEvent(kDonate, BN_CLICKED)});
}

// Input is handled in order, so once the second click is seen the first was too.
TEST_F(Events, DisabledButtonRaisesNothing) {
    SetControlEnabled(kStart, false);
    EXPECT_FALSE(IsWindowEnabled(ControlHandle(kStart)));
    ClickAt(CentreOnScreen(ControlHandle(kStart)));
    ClickAt(CentreOnScreen(ControlHandle(kDonate)));
    std::vector<Event> read;
    ASSERT_TRUE(ReadEventsUntil(kWindow, [](const Event& e) { return e.control == kDonate; }, &read));
    ExpectEvents(ControlEventsOf(read), {ControlEvent(kDonate, BN_CLICKED)});
    SetControlEnabled(kStart, true);
    PostMessageW(ControlHandle(kStart), BM_CLICK, 0, 0);
    ExpectEvents(ControlEventsOf(ReadEventsUntilMarker(kWindow)), {ControlEvent(kStart, BN_CLICKED)});
}

TEST_F(Events, ValueFieldsReportFocusGainedAndLost) {
    SetFocus(ControlHandle(kFirstField));
    ExpectEvents(ControlEventsOf(ReadEventsUntilMarker(kWindow)),
                 {ControlEvent(kFirstField, kEventFocusGained), ControlEvent(kFirstField, EN_SETFOCUS)});
    SetFocus(ControlHandle(kSecondField));
    ExpectEvents(ControlEventsOf(ReadEventsUntilMarker(kWindow)),
                 {ControlEvent(kFirstField, kEventFocusLost), ControlEvent(kFirstField, EN_KILLFOCUS),
                  ControlEvent(kSecondField, kEventFocusGained), ControlEvent(kSecondField, EN_SETFOCUS)});
    SetFocus(ControlHandle(kStart));  // buttons report no focus
    ExpectEvents(ControlEventsOf(ReadEventsUntilMarker(kWindow)),
                 {ControlEvent(kSecondField, kEventFocusLost), ControlEvent(kSecondField, EN_KILLFOCUS)});
}

TEST_F(Events, TypedTextRaisesEventsAndStays) {
    SetFocus(ControlHandle(kFirstField));
    SendMessageW(ControlHandle(kFirstField), EM_SETSEL, 0, -1);
    ReadEventsUntilMarker(kWindow);
    for (wchar_t typed : {L'4', L'2'}) PostMessageW(ControlHandle(kFirstField), WM_CHAR, typed, 1);
    const std::vector<Event> read = ControlEventsOf(ReadEventsUntilMarker(kWindow));
    ExpectEvents(read, {ControlEvent(kFirstField, EN_UPDATE), ControlEvent(kFirstField, EN_CHANGE),
                        ControlEvent(kFirstField, EN_UPDATE), ControlEvent(kFirstField, EN_CHANGE)});
    wchar_t text[16] = {};
    GetWindowTextW(ControlHandle(kFirstField), text, 16);
    EXPECT_STREQ(text, L"42");
    PumpEvents();
    GetWindowTextW(ControlHandle(kFirstField), text, 16);
    EXPECT_STREQ(text, L"42");
}

// Keys typed on the keyboard become characters in the read step.
TEST_F(Events, KeyboardTypingRaisesEvents) {
    SetFocus(ControlHandle(kSecondField));
    SendMessageW(ControlHandle(kSecondField), EM_SETSEL, 0, -1);
    ReadEventsUntilMarker(kWindow);
    PressKeys({'7'});
    std::vector<Event> read;
    ASSERT_TRUE(ReadEventsUntil(kWindow, [](const Event& e) { return e.type == EN_CHANGE; }, &read));
    ExpectEvents(ControlEventsOf(read),
                 {ControlEvent(kSecondField, EN_UPDATE), ControlEvent(kSecondField, EN_CHANGE)});
    wchar_t text[16] = {};
    GetWindowTextW(ControlHandle(kSecondField), text, 16);
    EXPECT_STREQ(text, L"7");
}

TEST_F(Events, ProgramWrittenTextRaisesNothing) {
    SetFocus(ControlHandle(kFirstField));
    ReadEventsUntilMarker(kWindow);
    SetControlText(kFirstField, L"1234.567");
    SetControlText(kSecondField, L"3577 MB/Sec");
    SetControlText(kLabel, L"Task 10 MB/Sec");
    SetControlText(kStart, L"Start");
    SetControlText(12345, L"names nothing");
    EXPECT_TRUE(ReadEventsUntilMarker(kWindow).empty());
    wchar_t text[16] = {};
    GetWindowTextW(ControlHandle(kFirstField), text, 16);
    EXPECT_STREQ(text, L"1234.567");
    GetWindowTextW(ControlHandle(kLabel), text, 16);
    EXPECT_STREQ(text, L"Task 10 MB/Sec");
    // Afterwards the user's changes are reported again.
    PostMessageW(ControlHandle(kFirstField), WM_CHAR, L'9', 1);
    EXPECT_EQ(ControlEventsOf(ReadEventsUntilMarker(kWindow)).size(), 2u);
}

struct RepeatCase {
    const char* name;
    std::vector<int> clicked;  // controls, in order
    std::vector<int> raised;
};

// Names the case in test listings.
void PrintTo(const RepeatCase& c, std::ostream* out) { *out << c.name; }

class Repeats : public Events, public ::testing::WithParamInterface<RepeatCase> {};

TEST_P(Repeats, RepeatOfTheLastQueuedEventIsDropped) {
    for (int control : GetParam().clicked) SendClick(control);
    std::vector<Event> expected;
    for (int control : GetParam().raised) expected.push_back(ControlEvent(control, BN_CLICKED));
    ExpectEvents(ControlEventsOf(ReadEventsUntilMarker(kWindow)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Queue, Repeats,
    ::testing::Values(RepeatCase{"twice", {kStart, kStart}, {kStart}},
                      RepeatCase{"thrice", {kDonate, kDonate, kDonate}, {kDonate}},
                      RepeatCase{"apart", {kStart, kDonate, kStart}, {kStart, kDonate, kStart}},
                      RepeatCase{"pairs", {kStart, kStart, kDonate, kDonate}, {kStart, kDonate}}),
    [](const ::testing::TestParamInfo<RepeatCase>& info) { return std::string(info.param.name); });

// Once taken, the same event is queued again.
TEST_F(Events, RepeatAfterTheFirstWasReadIsKept) {
    SendClick(kStart);
    const Event first = WaitEvent();
    EXPECT_TRUE(SameEvent(first, ControlEvent(kStart, BN_CLICKED)));
    SendClick(kStart);
    ExpectEvents(ControlEventsOf(ReadEventsUntilMarker(kWindow)), {ControlEvent(kStart, BN_CLICKED)});
}

TEST_F(Events, ClosedWindowsEventsNeverArrive) {
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Other"));
    ASSERT_TRUE(AddControl(ControlKind::Button, 21, 10, 10, 100, 24, L"OK"));
    SendClick(kStart);
    SendMessageW(WindowHandle(20), WM_COMMAND, MAKEWPARAM(21, BN_CLICKED),
                 reinterpret_cast<LPARAM>(ControlHandle(21)));
    SendMessageW(Window(), WM_CLOSE, 0, 0);
    SetFocus(ControlHandle(kFirstField));  // its loss of focus comes while it is destroyed
    SendMessageW(WindowHandle(20), WM_CLOSE, 0, 0);
    CloseProgramWindow(kWindow);
    const std::vector<Event> read = ReadEventsUntilMarker(20);
    for (const Event& event : read) EXPECT_NE(event.window, kWindow) << event;
    ExpectEvents(ControlEventsOf(read), {Event{EventKind::Control, 20, 21, BN_CLICKED}});
    int closes = 0;
    for (const Event& event : read) closes += event.kind == EventKind::Close && event.window == 20;
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(ControlHandle(kStart), nullptr);
}

// A control destroyed on its own takes its waiting events with it.
TEST_F(Events, DestroyedControlsEventsNeverArrive) {
    SendClick(kStart);
    SendClick(kDonate);
    SendClick(kStart);
    DestroyWindow(ControlHandle(kStart));
    EXPECT_EQ(ControlHandle(kStart), nullptr);
    ExpectEvents(ControlEventsOf(ReadEventsUntilMarker(kWindow)), {ControlEvent(kDonate, BN_CLICKED)});
}

TEST_F(Events, PumpedEventsNeverReachALaterWait) {
    SendClick(kStart);
    PostMessageW(ControlHandle(kDonate), BM_CLICK, 0, 0);
    PostMessageW(Window(), WM_CLOSE, 0, 0);
    PostMessageW(ControlHandle(kFirstField), WM_CHAR, L'5', 1);
    PumpEvents();
    // The messages were handled, not merely thrown away.
    wchar_t text[16] = {};
    GetWindowTextW(ControlHandle(kFirstField), text, 16);
    EXPECT_NE(wcschr(text, L'5'), nullptr) << "typed character missing";
    for (const Event& event : ReadEventsUntilMarker(kWindow)) {
        EXPECT_NE(event.kind, EventKind::Control) << event;
        EXPECT_NE(event.kind, EventKind::Close) << event;
    }
}

// Nothing pending: one empty look at the message queue, no wait.
TEST_F(Events, IdlePumpLooksOnceAndReturns) {
    PumpEvents();
    InstallUiOsRecorder(UiOsAnswers{});
    PumpEvents();
    const std::vector<UiCallRecord> looks = UiCallsOf(UiCall::PeekMessage);
    ASSERT_EQ(looks.size(), 1u);
    EXPECT_EQ(looks[0].a, static_cast<uint64_t>(PM_REMOVE | PM_NOYIELD));
    EXPECT_EQ(looks[0].b, 0u);
    EXPECT_EQ(looks[0].c, 0u);
    EXPECT_EQ(looks[0].handle, nullptr);
    EXPECT_EQ(CountUiCalls(UiCall::GetMessage), 0);
}

TEST_F(Events, PumpNeverWaits) {
    SendClick(kStart);
    InstallUiOsRecorder(UiOsAnswers{});
    PumpEvents();
    EXPECT_EQ(CountUiCalls(UiCall::GetMessage), 0);
    EXPECT_GE(CountUiCalls(UiCall::PeekMessage), 1);
}

// Queued events come before any window message is looked at.
TEST_F(Events, WaitTakesTheQueueFirst) {
    SendClick(kStart);
    SendClick(kDonate);
    InstallUiOsRecorder(UiOsAnswers{});
    EXPECT_TRUE(SameEvent(WaitEvent(), ControlEvent(kStart, BN_CLICKED)));
    EXPECT_TRUE(SameEvent(WaitEvent(), ControlEvent(kDonate, BN_CLICKED)));
    EXPECT_EQ(CountUiCalls(UiCall::GetMessage), 0);
    EXPECT_EQ(CountUiCalls(UiCall::PeekMessage), 0);
    PostMessageW(Window(), kMarkerMessage, 0, 0);
    const Event read = WaitEvent();
    EXPECT_EQ(read.kind, EventKind::Other);
    EXPECT_EQ(read.window, kWindow);
    EXPECT_EQ(read.type, static_cast<int>(kMarkerMessage));
    const std::vector<UiCallRecord> gets = UiCallsOf(UiCall::GetMessage);
    ASSERT_EQ(gets.size(), 1u);
    EXPECT_EQ(gets[0].handle, nullptr);
    EXPECT_EQ(gets[0].b, 0u);
    EXPECT_EQ(gets[0].c, 0u);
}

TEST_F(Events, WaitWithoutAnyWindowReadsAsClose) {
    CloseProgramWindow(kWindow);
    InstallUiOsRecorder(UiOsAnswers{});
    const Event event = WaitEvent();
    EXPECT_EQ(event.kind, EventKind::Close);
    EXPECT_EQ(event.window, 0);
    EXPECT_EQ(CountUiCalls(UiCall::GetMessage), 0);
}

struct WindowMessageCase {
    const char* name;
    UINT message;
    bool raises;  // an event of another kind for the window
};

// Names the case in test listings.
void PrintTo(const WindowMessageCase& c, std::ostream* out) { *out << c.name; }

class WindowMessages : public Events, public ::testing::WithParamInterface<WindowMessageCase> {};

TEST_P(WindowMessages, RaiseOtherEventsOrNone) {
    const WindowMessageCase& sent = GetParam();
    HDC dc = GetDC(Window());
    NMHDR header = {ControlHandle(kStart), static_cast<UINT_PTR>(kStart), static_cast<UINT>(NM_CLICK)};
    WPARAM wParam = sent.message == WM_ERASEBKGND ? reinterpret_cast<WPARAM>(dc)
                    : sent.message == WM_NOTIFY   ? kStart
                                                  : 0;
    LPARAM lParam = sent.message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&header) : 0;
    SendMessageW(Window(), sent.message, wParam, lParam);
    ReleaseDC(Window(), dc);
    const std::vector<Event> read = ReadEventsUntilMarker(kWindow);
    int raised = 0;
    for (const Event& event : read) {
        EXPECT_NE(event.kind, EventKind::Control) << event;
        raised += event.kind == EventKind::Other && event.type == static_cast<int>(sent.message);
    }
    EXPECT_EQ(raised, sent.raises ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WindowMessages,
    ::testing::Values(WindowMessageCase{"move", WM_MOVE, true}, WindowMessageCase{"size", WM_SIZE, true},
                      WindowMessageCase{"erase", WM_ERASEBKGND, true}, WindowMessageCase{"timer", WM_TIMER, true},
                      WindowMessageCase{"leftUp", WM_LBUTTONUP, true},
                      WindowMessageCase{"leftDouble", WM_LBUTTONDBLCLK, true},
                      WindowMessageCase{"rightUp", WM_RBUTTONUP, true},
                      WindowMessageCase{"notify", WM_NOTIFY, false},
                      WindowMessageCase{"mouseMove", WM_MOUSEMOVE, false}),
    [](const ::testing::TestParamInfo<WindowMessageCase>& info) { return std::string(info.param.name); });

// The class takes double clicks: two quick clicks on the background make one.
TEST_F(Events, DoubleClickOnTheBackground) {
    RECT client;
    GetClientRect(Window(), &client);
    POINT empty = {client.right - 5, client.bottom - 5};
    ClientToScreen(Window(), &empty);
    ClickAt(empty);
    ClickAt(empty);
    EXPECT_TRUE(ReadEventsUntil(kWindow, [](const Event& e) {
        return e.kind == EventKind::Other && e.type == WM_LBUTTONDBLCLK && e.window == kWindow;
    }));
}

TEST_F(Events, ActivationIsAnEventOfAnotherKind) {
    ASSERT_TRUE(OpenProgramWindow(20, 400, 80, 200, 100, L"Other"));
    const std::vector<Event> read = ReadEventsUntilMarker(kWindow);
    bool deactivated = false;
    for (const Event& event : read) {
        deactivated |= event.kind == EventKind::Other && event.window == kWindow && event.type == WM_ACTIVATE;
        EXPECT_NE(event.kind, EventKind::Control) << event;
    }
    EXPECT_TRUE(deactivated);
}

// A control kind made outside the machinery (the drive list is one) and
// registered with it: the filter sees each notification first.
struct FilterRecord {
    HWND control;
    std::vector<int> seen;
};
FilterRecord g_filter;

bool ConsumeClicks(HWND control, int notification) {
    g_filter.seen.push_back(notification);
    if (notification != BN_CLICKED) return false;
    RaiseControlEvent(control, 0);
    return true;
}

class Registered : public Events {
protected:
    void SetUp() override {
        Events::SetUp();
        HWND own = CreateWindowExW(0, L"Button", L"Own", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_NOTIFY,
                                   140, 140, 100, 24, Window(), nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(own, nullptr);
        SetWindowLongPtrW(own, GWLP_ID, kOwn);
        g_filter = FilterRecord{own, {}};
        RegisterControl(own, kOwn, ConsumeClicks);
    }
    static constexpr int kOwn = 107;
};

TEST_F(Registered, FoundByItsNumber) {
    EXPECT_EQ(ControlHandle(kOwn), g_filter.control);
    EXPECT_EQ(GetParent(ControlHandle(kOwn)), LastProgramWindow());
}

TEST_F(Registered, ConsumedNotificationRaisesOnlyWhatTheFilterRaised) {
    PostMessageW(g_filter.control, BM_CLICK, 0, 0);
    const std::vector<Event> read = ControlEventsOf(ReadEventsUntilMarker(kWindow));
    std::vector<Event> clicks;
    for (const Event& event : read) {
        if (event.control == kOwn && event.type != BN_SETFOCUS && event.type != BN_KILLFOCUS) clicks.push_back(event);
    }
    ExpectEvents(clicks, {ControlEvent(kOwn, 0)});
    EXPECT_NE(std::find(g_filter.seen.begin(), g_filter.seen.end(), BN_CLICKED), g_filter.seen.end());
}

TEST_F(Registered, NotificationLeftByTheFilterIsAnOrdinaryEvent) {
    SetFocus(g_filter.control);  // BS_NOTIFY: the button reports its focus
    const std::vector<Event> read = ControlEventsOf(ReadEventsUntilMarker(kWindow));
    ExpectEvents(read, {ControlEvent(kOwn, BN_SETFOCUS)});
    EXPECT_EQ(g_filter.seen, std::vector<int>{BN_SETFOCUS});
}

TEST_F(Registered, EventsDieWithIt) {
    RaiseControlEvent(g_filter.control, 0);
    SendClick(kStart);
    RaiseControlEvent(g_filter.control, 0);
    DestroyWindow(g_filter.control);
    EXPECT_EQ(ControlHandle(kOwn), nullptr);
    ExpectEvents(ControlEventsOf(ReadEventsUntilMarker(kWindow)), {ControlEvent(kStart, BN_CLICKED)});
}

}  // namespace
