#include "ui/startup_seam.h"

#include "engine/benchmark.h"
#include "system/memory.h"
#include "system/writer.h"
#include "ui/select_target.h"

const StartupSeam kRealStartupSeam = {
    ::GetModuleHandleW, CreateGeneralHeap, CreateMemoryHeap,  SetUpWindowing,
    QueryFreePhysicalMemory, ShowMessage, SelectTargetFolder, ForceDelete,
    OpenProgramWindow, AddControl,  PumpEvents,        WaitEvent,
    OpenDocument,      RunBenchmark,      TearDownWindowing, CloseTestFile,
    DestroyMemoryHeap, DestroyGeneralHeap,
};

StartupSeam g_startupSeam = kRealStartupSeam;
