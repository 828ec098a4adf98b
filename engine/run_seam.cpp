// The run's calls outside the engine, bound to the system and window units.
#include "engine/run_seam.h"

#include "system/clock.h"
#include "system/constants.h"
#include "system/memory.h"
#include "system/writer.h"
#include "ui/gui.h"

const RunSeam kRealRunSeam = {
    kTestBufferBytes,
    AllocateTestBuffer,
    FillTestBuffer,
    PauseMs,
    NowMs,
    ForceDelete,
    CreateTestFile,
    WriteChunk,
    CloseTestFile,
    TestFileError,
    PumpEvents,
    SetControlText,
    SetLabelBackground,
    SetControlEnabled,
    ShowMessage,
    ::FormatMessageW,
};

RunSeam g_runSeam = kRealRunSeam;
