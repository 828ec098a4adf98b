// The program's life against a recording fake of everything start-up calls:
// the order of start-up and shut-down, the memory gate, the test file path,
// the event loop and what happens when a window cannot be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "engine/benchmark.h"
#include "system/constants.h"
#include "ui/startup.h"
#include "ui/startup_seam.h"

namespace {

struct StartupScript {
    uint64_t freeBytes = kFreeMemoryGateBytes + 1;
    std::optional<std::wstring> targetFolder = std::wstring(L"D:\\");
    bool mainWindowMade = true;
    int failingControl = -1;     // AddControl of this number fails
    std::deque<Event> events;    // what WaitEvent hands out, then close events
};

struct StartupRecord {
    std::vector<std::wstring> calls;
    std::vector<int> controls;   // numbers in the order they were added
    std::vector<int64_t> resultsAtGate;
    int waits = 0;
};

StartupScript g_script;
StartupRecord g_record;

HINSTANCE const kFakeInstance = reinterpret_cast<HINSTANCE>(0x400000);

void Note(const std::wstring& call) { g_record.calls.push_back(call); }

HMODULE WINAPI FakeGetModuleHandleW(LPCWSTR name) {
    Note(name == nullptr ? L"GetModuleHandleW" : L"GetModuleHandleW(name)");
    return kFakeInstance;
}
bool FakeCreateGeneralHeap() { Note(L"CreateGeneralHeap"); return true; }
bool FakeCreateMemoryHeap() { Note(L"CreateMemoryHeap"); return true; }
void FakeSetUpWindowing(HINSTANCE instance) {
    Note(instance == kFakeInstance ? L"SetUpWindowing" : L"SetUpWindowing(other)");
}
uint64_t FakeQueryFreePhysicalMemory() {
    Note(L"QueryFreePhysicalMemory");
    g_record.resultsAtGate.assign(std::begin(g_run.results), std::end(g_run.results));
    return g_script.freeBytes;
}
void FakeShowMessage(const wchar_t* title, const wchar_t* text) {
    Note(std::wstring(L"ShowMessage ") + title + L" | " + text);
}
std::optional<std::wstring> FakeSelectTargetFolder() {
    Note(L"SelectTargetFolder");
    return g_script.targetFolder;
}
BOOL FakeForceDelete(const wchar_t* path) {
    Note(std::wstring(L"ForceDelete ") + path);
    return FALSE;
}
bool FakeOpenProgramWindow(int number, int x, int y, int width, int height, const wchar_t* title) {
    Note(L"OpenProgramWindow " + std::to_wstring(number) + L" " + std::to_wstring(x) + L"," +
         std::to_wstring(y) + L" " + std::to_wstring(width) + L"x" + std::to_wstring(height) +
         L" " + title);
    return g_script.mainWindowMade;
}
bool FakeAddControl(ControlKind, int number, int, int, int, int, const wchar_t*) {
    Note(L"AddControl");
    g_record.controls.push_back(number);
    return number != g_script.failingControl;
}
void FakePumpEvents() { Note(L"PumpEvents"); }
Event FakeWaitEvent() {
    Note(L"WaitEvent");
    // A fault that loops for ever ends here instead of hanging the test.
    if (g_script.events.empty() || ++g_record.waits > 100) {
        return Event{EventKind::Close, 0, 0, 0};
    }
    Event event = g_script.events.front();
    g_script.events.pop_front();
    return event;
}
void FakeOpenDocument(const wchar_t* address) { Note(std::wstring(L"OpenDocument ") + address); }
void FakeRunBenchmark() { Note(L"RunBenchmark"); }
void FakeTearDownWindowing() { Note(L"TearDownWindowing"); }
void FakeCloseTestFile() { Note(L"CloseTestFile"); }
void FakeDestroyMemoryHeap() { Note(L"DestroyMemoryHeap"); }
void FakeDestroyGeneralHeap() { Note(L"DestroyGeneralHeap"); }

const StartupSeam kFakeSeam = {
    FakeGetModuleHandleW, FakeCreateGeneralHeap, FakeCreateMemoryHeap, FakeSetUpWindowing,
    FakeQueryFreePhysicalMemory, FakeShowMessage, FakeSelectTargetFolder, FakeForceDelete,
    FakeOpenProgramWindow, FakeAddControl, FakePumpEvents, FakeWaitEvent,
    FakeOpenDocument, FakeRunBenchmark, FakeTearDownWindowing, FakeCloseTestFile,
    FakeDestroyMemoryHeap, FakeDestroyGeneralHeap,
};

const std::vector<std::wstring> kStartSteps = {
    L"GetModuleHandleW", L"CreateGeneralHeap", L"CreateMemoryHeap", L"SetUpWindowing",
    L"QueryFreePhysicalMemory"};
const std::vector<std::wstring> kShutDownSteps = {
    L"TearDownWindowing", L"CloseTestFile", L"DestroyMemoryHeap", L"DestroyGeneralHeap"};

const std::wstring kInfoCall = std::wstring(L"ShowMessage ") + kInfoTitle + L" | " + kInfoMessage;
const std::wstring kNoWindowCall =
    std::wstring(L"ShowMessage ") + kMainTitle + L" | " + kNoWindowMessage;
const std::wstring kLowMemoryCall =
    std::wstring(L"ShowMessage ") + kMainTitle + L" | " + kLowMemoryMessage;

std::vector<std::wstring> Join(std::initializer_list<std::vector<std::wstring>> parts) {
    std::vector<std::wstring> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The calls made from the first AddControl to the last PumpEvents of the main window.
std::vector<std::wstring> MainWindowCalls() {
    std::vector<std::wstring> calls(20, L"AddControl");
    calls.push_back(L"PumpEvents");
    calls.insert(calls.end(), 10, L"AddControl");
    calls.push_back(L"PumpEvents");
    return calls;
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_script = StartupScript{};
        g_record = StartupRecord{};
        g_startupSeam = kFakeSeam;
        g_run.testFilePath = nullptr;
    }
    void TearDown() override { g_startupSeam = kRealStartupSeam; }
};

TEST_F(StartupTest, NormalLifeRunsEveryStepInOrderAndEndsWithZero) {
    g_script.events = {Event{EventKind::Close, kMainWindow, 0, 0}};

    EXPECT_EQ(RunProgram(), 0);

    std::wstring openMain = std::wstring(L"OpenProgramWindow 79 50,80 305x560 ") + kMainTitle;
    EXPECT_EQ(g_record.calls,
              Join({kStartSteps,
                    {kInfoCall, L"SelectTargetFolder", L"ForceDelete D:\\Varnhold.dat",
                     L"ForceDelete D:\\Varnhold.dat", L"ForceDelete D:\\Varnhold.dat", openMain},
                    MainWindowCalls(),
                    {L"WaitEvent"},
                    kShutDownSteps}));
}

TEST_F(StartupTest, ControlsAreMadeInTheOrderThatIsAlsoTheTabOrder) {
    RunProgram();

    std::vector<int> expected;
    for (int n = 80; n <= 99; ++n) expected.push_back(n);
    for (int n : {100, 103, 101, 104, 102, 105, 36, 38, 14, 16}) expected.push_back(n);
    EXPECT_EQ(g_record.controls, expected);
}

TEST_F(StartupTest, TaskResultsAreZeroBeforeTheMemoryGate) {
    std::fill(std::begin(g_run.results), std::end(g_run.results), 77);

    RunProgram();

    EXPECT_EQ(g_record.resultsAtGate, std::vector<int64_t>(kTaskResultCount, 0));
}

struct GateCase {
    uint64_t freeBytes;
    bool passes;
};

void PrintTo(const GateCase& c, std::ostream* os) { *os << c.freeBytes << " bytes free"; }

class StartupGateTest : public StartupTest, public ::testing::WithParamInterface<GateCase> {};

TEST_P(StartupGateTest, OnlyMoreThanEightGiBFreeLetsTheProgramOn) {
    g_script.freeBytes = GetParam().freeBytes;

    EXPECT_EQ(RunProgram(), 0);

    if (GetParam().passes) {
        ASSERT_GE(g_record.calls.size(), 7u);
        EXPECT_EQ(g_record.calls[5], kInfoCall);
        EXPECT_EQ(g_record.calls[6], L"SelectTargetFolder");
    } else {
        // Nothing but the message: no dialog, no window, no file touched.
        EXPECT_EQ(g_record.calls, Join({kStartSteps, {kLowMemoryCall}, kShutDownSteps}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    FreeMemory, StartupGateTest,
    ::testing::Values(GateCase{kFreeMemoryGateBytes, false}, GateCase{kFreeMemoryGateBytes + 1, true},
                      GateCase{0, false}, GateCase{UINT64_MAX, false},  // -1 as a signed value
                      GateCase{24ull << 30, true}));

struct PathCase {
    const wchar_t* targetFolder;
    const wchar_t* testFilePath;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    for (const wchar_t* ch = c.testFilePath; *ch != L'\0'; ++ch) *os << static_cast<char>(*ch);
}

class StartupPathTest : public StartupTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(StartupPathTest, TestFilePathIsTheTargetFolderAndTheFileName) {
    g_script.targetFolder = std::wstring(GetParam().targetFolder);

    RunProgram();

    ASSERT_NE(g_run.testFilePath, nullptr);
    EXPECT_STREQ(g_run.testFilePath, GetParam().testFilePath);
    std::wstring deleteCall = std::wstring(L"ForceDelete ") + GetParam().testFilePath;
    EXPECT_EQ(std::count(g_record.calls.begin(), g_record.calls.end(), deleteCall), 3);
}

INSTANTIATE_TEST_SUITE_P(Folders, StartupPathTest,
                         ::testing::Values(PathCase{L"D:\\", L"D:\\Varnhold.dat"},
                                           PathCase{L"C:\\", L"C:\\Varnhold.dat"},
                                           PathCase{L"", L"Varnhold.dat"}));

TEST_F(StartupTest, EventLoopStartsRunsOpensThePageAndEndsOnClose) {
    g_script.events = {
        Event{EventKind::Control, kMainWindow, kDonateButton, BN_CLICKED},
        Event{EventKind::Control, kMainWindow, kStartButton, BN_CLICKED},
        Event{EventKind::Control, kMainWindow, kFirstTaskField, kEventFocusGained},
        Event{EventKind::Other, kMainWindow, 0, 0},
        Event{EventKind::Control, kMainWindow, kStartButton, 0},  // the type is never looked at
        Event{EventKind::Close, kMainWindow, 0, 0},
        Event{EventKind::Control, kMainWindow, kStartButton, BN_CLICKED},  // never read
    };

    EXPECT_EQ(RunProgram(), 0);

    auto firstWait = std::find(g_record.calls.begin(), g_record.calls.end(), L"WaitEvent");
    std::vector<std::wstring> loop(firstWait, g_record.calls.end());
    EXPECT_EQ(loop, Join({{L"WaitEvent", std::wstring(L"OpenDocument ") + kDonationAddress,
                           L"WaitEvent", L"RunBenchmark", L"WaitEvent", L"WaitEvent", L"WaitEvent",
                           L"RunBenchmark", L"WaitEvent"},
                          kShutDownSteps}));
}

struct NoWindowCase {
    const char* name;
    bool dialogMade;
    bool mainWindowMade;
    int failingControl;
    size_t controlsTried;
};

void PrintTo(const NoWindowCase& c, std::ostream* os) { *os << c.name; }

class StartupNoWindowTest : public StartupTest, public ::testing::WithParamInterface<NoWindowCase> {};

TEST_P(StartupNoWindowTest, SaysSoAndShutsDownWithOneInsteadOfWaiting) {
    const NoWindowCase& c = GetParam();
    if (!c.dialogMade) g_script.targetFolder = std::nullopt;
    g_script.mainWindowMade = c.mainWindowMade;
    g_script.failingControl = c.failingControl;

    EXPECT_EQ(RunProgram(), 1);

    EXPECT_EQ(std::count(g_record.calls.begin(), g_record.calls.end(), L"WaitEvent"), 0);
    EXPECT_EQ(g_record.controls.size(), c.controlsTried);
    std::vector<std::wstring> tail(g_record.calls.end() - 5, g_record.calls.end());
    EXPECT_EQ(tail, Join({{kNoWindowCall}, kShutDownSteps}));
    if (!c.dialogMade) {
        EXPECT_EQ(std::count_if(g_record.calls.begin(), g_record.calls.end(),
                                [](const std::wstring& s) { return s.rfind(L"ForceDelete", 0) == 0; }),
                  0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, StartupNoWindowTest,
    ::testing::Values(NoWindowCase{"Dialog", false, true, -1, 0},
                      NoWindowCase{"MainWindow", true, false, -1, 0},
                      NoWindowCase{"FirstLabel", true, true, kFirstTaskLabel, 1},
                      NoWindowCase{"FirstField", true, true, kFirstTaskField, 11},
                      NoWindowCase{"ReferenceField", true, true, kReferenceField, 28},
                      NoWindowCase{"Donate", true, true, kDonateButton, 30}),
    [](const ::testing::TestParamInfo<NoWindowCase>& info) { return std::string(info.param.name); });

}  // namespace
