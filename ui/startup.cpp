#include "ui/startup.h"

#include <algorithm>
#include <string>

#include "engine/benchmark.h"
#include "system/constants.h"
#include "system/memory.h"
#include "ui/main_window.h"
#include "ui/startup_seam.h"

namespace {

// What start-up keeps for the life of the process.
struct ProgramState {
    HINSTANCE instance;
    std::wstring targetFolder;
    std::wstring testFilePath;
    Event lastEvent;
};

ProgramState g_program;

int ReportNoWindow() {
    g_startupSeam.ShowMessage(kMainTitle, kNoWindowMessage);
    return kExitCodeNoWindow;
}

void SetTestFilePath(const std::wstring& targetFolder) {
    g_program.targetFolder = targetFolder;
    // The folder's own trailing backslash separates the two.
    g_program.testFilePath = targetFolder + kTestFileName;
    g_run.testFilePath = g_program.testFilePath.c_str();
}

void RunEventLoop() {
    for (;;) {
        g_program.lastEvent = g_startupSeam.WaitEvent();
        if (g_program.lastEvent.kind == EventKind::Control) {
            if (g_program.lastEvent.control == kDonateButton) {
                g_startupSeam.OpenDocument(kDonationAddress);
            } else if (g_program.lastEvent.control == kStartButton) {
                g_startupSeam.RunBenchmark();
            }
        }
        if (g_program.lastEvent.kind == EventKind::Close) {
            return;
        }
    }
}

// Everything after the memory gate has let the program on.
int RunWithWindows() {
    g_startupSeam.ShowMessage(kInfoTitle, kInfoMessage);
    std::optional<std::wstring> targetFolder = g_startupSeam.SelectTargetFolder();
    if (!targetFolder) {
        return ReportNoWindow();
    }
    SetTestFilePath(*targetFolder);
    for (int i = 0; i < kForceDeletesAtStartup; ++i) {
        g_startupSeam.ForceDelete(g_program.testFilePath.c_str());
    }
    if (!OpenMainWindow()) {
        return ReportNoWindow();
    }
    RunEventLoop();
    return kExitCodeNormal;
}

void ShutDown() {
    g_startupSeam.TearDownWindowing();
    g_startupSeam.CloseTestFile();
    g_startupSeam.DestroyMemoryHeap();
    g_startupSeam.DestroyGeneralHeap();
}

}  // namespace

int RunProgram() {
    g_program.instance = g_startupSeam.GetModuleHandleW(nullptr);
    g_startupSeam.CreateGeneralHeap();
    g_startupSeam.CreateMemoryHeap();
    g_startupSeam.SetUpWindowing(g_program.instance);
    // The fill value of the test buffer is the fixed kFillByte the run uses.
    std::fill(std::begin(g_run.results), std::end(g_run.results), 0);
    int exitCode = kExitCodeNormal;
    if (FreeMemoryPassesGate(g_startupSeam.QueryFreePhysicalMemory())) {
        exitCode = RunWithWindows();
    } else {
        g_startupSeam.ShowMessage(kMainTitle, kLowMemoryMessage);
    }
    ShutDown();
    return exitCode;
}
