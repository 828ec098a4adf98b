// Program windows and controls as the system sees them: classes, styles, the
// UI font, and what happens when one cannot be made.
#include <string>

#include "gui_test_support.h"
#include "system/constants.h"

namespace {

using Windows = GuiTest;

bool ClassRegistered(const wchar_t* name, WNDCLASSEXW* found = nullptr) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    const bool registered = GetClassInfoExW(GetModuleHandleW(nullptr), name, &windowClass) != FALSE;
    if (found != nullptr) *found = windowClass;
    return registered;
}

TEST_F(Windows, WindowHasCaptionAndSystemMenuOnly) {
    InstallUiOsRecorder(UiOsAnswers{});
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Varnhold Benchmark by Ossendry"));
    HWND window = WindowHandle(79);
    const std::vector<UiCallRecord> made = UiCallsOf(UiCall::CreateWindow);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].text, L"WindowClass_79");
    EXPECT_EQ(made[0].title, L"Varnhold Benchmark by Ossendry");
    EXPECT_EQ(made[0].a, 0x00C80000u);
    EXPECT_EQ(made[0].b, 0u);
    EXPECT_EQ(made[0].handle, nullptr);
    // The system adds only what it adds to every top-level window.
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPSIBLINGS), 0x00C80000);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(GetMenu(window), nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Varnhold Benchmark by Ossendry");
}

TEST_F(Windows, ClassIsTheWindowsOwn) {
    InstallUiOsRecorder(UiOsAnswers{});
    ASSERT_TRUE(OpenProgramWindow(106, kCentred, kCentred, 400, 95, L"Please select the SSD/NVME"));
    const std::vector<UiCallRecord> registered = UiCallsOf(UiCall::RegisterClass);
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_EQ(registered[0].text, L"WindowClass_106");
    EXPECT_EQ(registered[0].cursor, LoadCursorW(nullptr, IDC_ARROW));
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(registered[0].icon, icon);
    WNDCLASSEXW windowClass;
    ASSERT_TRUE(ClassRegistered(L"WindowClass_106", &windowClass));
    EXPECT_EQ(windowClass.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(windowClass.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(windowClass.hCursor, LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(windowClass.hIcon, icon);
}

TEST_F(Windows, ShownAndActiveBeforeAnyControl) {
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Shown"));
    HWND window = WindowHandle(79);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(LastProgramWindow(), window);
}

// No edge or corner offers resizing, and the caption has a close button only.
TEST_F(Windows, CannotBeResizedMinimisedOrMaximised) {
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Fixed"));
    HWND window = WindowHandle(79);
    RECT outer;
    GetWindowRect(window, &outer);
    const POINT edges[] = {{outer.left, outer.top}, {(outer.left + outer.right) / 2, outer.top},
                           {outer.right - 1, outer.top}, {outer.left, (outer.top + outer.bottom) / 2},
                           {outer.right - 1, (outer.top + outer.bottom) / 2}, {outer.left, outer.bottom - 1},
                           {(outer.left + outer.right) / 2, outer.bottom - 1}, {outer.right - 1, outer.bottom - 1}};
    for (POINT edge : edges) {
        const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y));
        EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST) << "hit " << hit << " at " << edge.x << "," << edge.y;
        EXPECT_NE(hit, HTMINBUTTON);
        EXPECT_NE(hit, HTMAXBUTTON);
    }
    TITLEBARINFO caption = {};
    caption.cbSize = sizeof caption;
    ASSERT_TRUE(GetTitleBarInfo(window, &caption));
    EXPECT_NE(caption.rgstate[2] & STATE_SYSTEM_INVISIBLE, 0u) << "minimise button";
    EXPECT_NE(caption.rgstate[3] & STATE_SYSTEM_INVISIBLE, 0u) << "maximise button";
    EXPECT_EQ(caption.rgstate[5] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE), 0u) << "close button";
}

struct KindCase {
    ControlKind kind;
    const wchar_t* className;
    LONG style;
    LONG extendedStyle;
};

// Names the case in test listings.
void PrintTo(const KindCase& c, std::ostream* out) { *out << static_cast<int>(c.kind); }

class ControlKinds : public GuiTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(ControlKinds, MadeWithItsClassStyleNumberAndTheUiFont) {
    const KindCase& kind = GetParam();
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Kinds"));
    InstallUiOsRecorder(UiOsAnswers{});
    ASSERT_TRUE(AddControl(kind.kind, 90, 140, 20, 90, 20, L"MB/Sec"));
    HWND control = ControlHandle(90);
    ASSERT_NE(control, nullptr);
    const std::vector<UiCallRecord> made = UiCallsOf(UiCall::CreateWindow);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].text, kind.className);
    EXPECT_EQ(made[0].a, static_cast<uint64_t>(static_cast<DWORD>(kind.style)));
    EXPECT_EQ(made[0].b, static_cast<uint64_t>(kind.extendedStyle));
    EXPECT_EQ(made[0].handle, WindowHandle(79));
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    EXPECT_EQ(_wcsicmp(className, kind.className), 0) << "class";
    EXPECT_EQ(GetWindowLongW(control, GWL_STYLE), kind.style);
    EXPECT_EQ(GetWindowLongW(control, GWL_EXSTYLE), kind.extendedStyle);
    EXPECT_EQ(GetDlgCtrlID(control), 90);
    EXPECT_EQ(GetParent(control), WindowHandle(79));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), UiFont());
    wchar_t text[16] = {};
    GetWindowTextW(control, text, 16);
    EXPECT_STREQ(text, L"MB/Sec");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ControlKinds,
    ::testing::Values(KindCase{ControlKind::Label, L"Static", 0x50020081, 0},
                      KindCase{ControlKind::ValueField, L"Edit", 0x50030080, WS_EX_CLIENTEDGE},
                      KindCase{ControlKind::Button, L"Button", 0x50030000, 0}));

TEST_F(Windows, ValueFieldIsEditableOnOneLine) {
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Field"));
    ASSERT_TRUE(AddControl(ControlKind::ValueField, 90, 140, 20, 90, 20, L"MB/Sec"));
    const LONG style = GetWindowLongW(ControlHandle(90), GWL_STYLE);
    EXPECT_EQ(style & (ES_READONLY | ES_MULTILINE | ES_CENTER | ES_RIGHT), 0);
}

TEST_F(Windows, UiFontIsTheSystemsMessageFont) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    LOGFONTW font = {};
    ASSERT_EQ(GetObjectW(UiFont(), sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    EXPECT_EQ(font.lfWeight, metrics.lfMessageFont.lfWeight);
    EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_NE(UiFont(), GetStockObject(DEFAULT_GUI_FONT));
}

// Asked with the short record, as the oldest systems know it; on failure the
// stock font stays.
TEST_F(Windows, UiFontFallsBackToTheStockFont) {
    TearDownWindowing();
    InstallUiOsRecorder(UiOsAnswers{.failSystemParameters = true});
    SetUpWindowing(GetModuleHandleW(nullptr));
    const std::vector<UiCallRecord> asked = UiCallsOf(UiCall::SystemParametersInfo);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].a, static_cast<uint64_t>(SPI_GETNONCLIENTMETRICS));
    EXPECT_EQ(asked[0].b, 500u);
    EXPECT_EQ(asked[0].c, 500u);
    EXPECT_EQ(UiFont(), GetStockObject(DEFAULT_GUI_FONT));
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Stock font"));
    ASSERT_TRUE(AddControl(ControlKind::Label, 80, 16, 22, 120, 16, L"Task 01 MB/Sec"));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(ControlHandle(80), WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
}

// A window that cannot be made leaves nothing behind, takes no controls, and
// nobody waits for its events.
TEST_F(Windows, WindowThatCannotBeMade) {
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Earlier"));
    CloseProgramWindow(79);
    InstallUiOsRecorder(UiOsAnswers{.failWindowClass = L"WindowClass_55"});
    EXPECT_FALSE(OpenProgramWindow(55, 50, 80, 305, 560, L"Never"));
    EXPECT_EQ(CountUiCalls(UiCall::RegisterClass), 1);
    EXPECT_FALSE(ClassRegistered(L"WindowClass_55"));
    EXPECT_EQ(LastProgramWindow(), nullptr);
    EXPECT_FALSE(AddControl(ControlKind::Button, 14, 35, 505, 100, 24, L"Start"));
    const Event event = WaitEvent();
    EXPECT_EQ(event.kind, EventKind::Close);
    EXPECT_EQ(event.window, 0);
    EXPECT_EQ(CountUiCalls(UiCall::GetMessage), 0);
}

// A failed window leaves the one before it open, but no control lands there by mistake.
TEST_F(Windows, FailedWindowKeepsControlsOutOfTheOneBefore) {
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Earlier"));
    InstallUiOsRecorder(UiOsAnswers{.failWindowClass = L"WindowClass_106"});
    EXPECT_FALSE(OpenProgramWindow(106, kCentred, kCentred, 400, 95, L"Never"));
    EXPECT_FALSE(AddControl(ControlKind::Button, 108, 10, 45, 380, 38, L"OK"));
    EXPECT_EQ(GetWindow(WindowHandle(79), GW_CHILD), nullptr);
    EXPECT_NE(WindowHandle(79), nullptr);
}

TEST_F(Windows, ControlThatCannotBeMade) {
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Controls"));
    InstallUiOsRecorder(UiOsAnswers{.failWindowClass = L"Edit"});
    EXPECT_TRUE(AddControl(ControlKind::Label, 80, 16, 22, 120, 16, L"Task 01 MB/Sec"));
    EXPECT_FALSE(AddControl(ControlKind::ValueField, 90, 140, 20, 90, 20, L"MB/Sec"));
    EXPECT_TRUE(AddControl(ControlKind::Button, 14, 35, 505, 100, 24, L"Start"));
    EXPECT_EQ(ControlHandle(90), nullptr);
    EXPECT_NE(ControlHandle(80), nullptr);
    EXPECT_NE(ControlHandle(14), nullptr);
    SetControlText(90, L"nothing");  // names no control: nothing happens
    SetControlEnabled(90, false);
    SetLabelBackground(90, kHighlightColour);
    EXPECT_EQ(CountUiCalls(UiCall::CreateSolidBrush), 0);
}

TEST_F(Windows, NoControlWithoutAWindow) {
    EXPECT_EQ(LastProgramWindow(), nullptr);
    EXPECT_FALSE(AddControl(ControlKind::Label, 80, 16, 22, 120, 16, L"Task 01 MB/Sec"));
}

// Closing destroys the window and its controls and frees the class name.
TEST_F(Windows, ClosingReleasesWindowControlsAndClass) {
    ASSERT_TRUE(OpenProgramWindow(106, kCentred, kCentred, 400, 95, L"Closing"));
    ASSERT_TRUE(AddControl(ControlKind::Button, 108, 10, 45, 380, 38, L"OK"));
    HWND window = WindowHandle(106);
    HWND button = ControlHandle(108);
    CloseProgramWindow(106);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(button));
    EXPECT_EQ(ControlHandle(108), nullptr);
    EXPECT_EQ(LastProgramWindow(), nullptr);
    EXPECT_FALSE(ClassRegistered(L"WindowClass_106"));
    // The same number can be opened again.
    ASSERT_TRUE(OpenProgramWindow(106, kCentred, kCentred, 400, 95, L"Again"));
    EXPECT_TRUE(IsWindowVisible(WindowHandle(106)));
}

TEST_F(Windows, TearDownClosesEveryWindow) {
    ASSERT_TRUE(OpenProgramWindow(106, kCentred, kCentred, 400, 95, L"One"));
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Two"));
    HWND one = WindowHandle(106);
    HWND two = WindowHandle(79);
    TearDownWindowing();
    EXPECT_FALSE(IsWindow(one));
    EXPECT_FALSE(IsWindow(two));
    EXPECT_FALSE(ClassRegistered(L"WindowClass_79"));
    const Event event = WaitEvent();
    EXPECT_EQ(event.kind, EventKind::Close);
    EXPECT_EQ(event.window, 0);
}

}  // namespace
