// Every fixed value of the program, with its unit in the name.
#pragma once

#include <cstdint>

// ---- Test buffer and its writing ----
constexpr int64_t kTestBufferBytes = 8589934592;  // 0x200000000, 8 GiB
constexpr int kFillByte = 0x80;
constexpr int64_t kChunkBytes = 2097120;  // 0x1FFFE0: 2 MiB minus 32
constexpr int64_t kLastChunkBytes = 131072;  // 0x20000: what is left after 4096 full chunks
constexpr int64_t kChunksPerTask = 4097;
constexpr int kTasksPerRun = 10;
constexpr int kTaskResultCount = 11;  // element 10 is never written or read
constexpr int64_t kFreeMemoryGateBytes = 8589934592;  // free memory must exceed this

// ---- Heaps ----
constexpr uint64_t kHeapInitialBytes = 4096;
constexpr int kWriteBufferBytes = 4096;

// ---- Test file ----
constexpr wchar_t kTestFileName[] = L"Varnhold.dat";

// ---- Pauses of a run, and the timer resolution they sleep at ----
constexpr uint32_t kPauseBeforeFirstTaskMs = 250;
constexpr uint32_t kPauseInTaskMs = 900;
constexpr uint32_t kPauseAfterLastTaskMs = 500;
constexpr uint32_t kTimerPeriodMs = 1;

// ---- Throughput arithmetic (kept apart, never folded into one factor) ----
constexpr double kMsPerSecond = 1000.0;
constexpr double kBytesPerKiB = 1024.0;

// ---- Colours (COLORREF: red in the low byte) ----
constexpr uint32_t kHighlightColour = 0x006464C8;  // red 200, green 100, blue 100

// ---- Control numbers ----
constexpr int kMainWindow = 79;
constexpr int kFirstTaskLabel = 80;  // task i + 1 uses label 80 + i
constexpr int kFirstTaskField = 90;  // task i + 1 uses value field 90 + i
constexpr int kMinimumLabel = 100;
constexpr int kMaximumLabel = 101;
constexpr int kAverageLabel = 102;
constexpr int kMinimumField = 103;
constexpr int kMaximumField = 104;
constexpr int kAverageField = 105;
constexpr int kReferenceLabel = 36;
constexpr int kReferenceField = 38;
constexpr int kStartButton = 14;
constexpr int kDonateButton = 16;
constexpr int kSelectWindow = 106;
constexpr int kDriveList = 107;
constexpr int kOkButton = 108;

// ---- Accelerator commands of every program window ----
constexpr int kNextControlCommand = 64001;
constexpr int kPreviousControlCommand = 64002;

// ---- Window geometry, in logical units (one pixel at 96 dots per inch) ----
constexpr int kLogicalDpi = 96;
constexpr int kMainWindowX = 50;
constexpr int kMainWindowY = 80;
constexpr int kMainClientWidth = 305;
constexpr int kMainClientHeight = 560;
constexpr int kSelectClientWidth = 400;
constexpr int kSelectClientHeight = 95;
constexpr int kDriveListX = 10;
constexpr int kDriveListY = 10;
constexpr int kDriveListWidth = 380;
constexpr int kDriveListClosedHeight = 25;
constexpr int kDriveListDroppedHeightPixels = 350;  // device pixels, not scaled
constexpr int kOkButtonX = 10;
constexpr int kOkButtonY = 45;
constexpr int kOkButtonWidth = 380;
constexpr int kOkButtonHeight = 38;

// ---- Texts ----
constexpr wchar_t kMainTitle[] = L"Varnhold Benchmark by Ossendry";
constexpr wchar_t kInfoTitle[] = L"Varnhold Benchmark - Ossendry";
constexpr wchar_t kSelectTitle[] = L"Please select the SSD/NVME";
constexpr wchar_t kFieldPlaceholder[] = L"MB/Sec";
constexpr wchar_t kFailedText[] = L"Failed";
constexpr wchar_t kReferenceName[] = L"WD_BLACK SN850";
constexpr wchar_t kReferenceFigure[] = L"3577 MB/Sec";
constexpr wchar_t kStartText[] = L"Start";
constexpr wchar_t kDonateText[] = L"Donate";
constexpr wchar_t kOkText[] = L"OK";

// Message lines are separated by a lone carriage return.
constexpr wchar_t kInfoMessage[] =
    L"This portable App fill 8 GB memory fixed data. This 8 GB Ram are written\r"
    L"to the disk drive in the fastest possible way.\r"
    L"i.e. not from disk to disk (bottleneck) but directly from RAM to\r"
    L"the disk drive. The algorithm is still not crisp so not completely efficient\r"
    L"For now...";
constexpr wchar_t kLowMemoryMessage[] =
    L"This is a direct RAM to NVME Benchmark.\r"
    L"Only System with 8589934592 bytes (8 GB) free\r"
    L"of RAM can run this Benchmark. Sorry";
constexpr wchar_t kNoBufferMessage[] =
    L"The 8 GB test buffer could not be allocated.\r"
    L"Closing other programs may help.";
constexpr wchar_t kNoWindowMessage[] = L"The program window could not be created.";

constexpr wchar_t kDonationAddress[] =
    L"https://www.paypal.com/donate/?hosted_button_id=VARNHOLD7OSSENDRY";

// ---- System access: clock and heaps ----
constexpr int64_t kClockMsPerSecond = 1000;  // performance counts per ms = frequency / this
constexpr uint32_t kHeapCreateOptions = 0;
constexpr uint64_t kHeapMaximumBytes = 0;  // growable

// ---- Benchmark engine: figure text and failed runs ----
constexpr int kFigureTextMaxChars = 400;  // the widest double with three decimals fits
constexpr int kErrorTextMaxChars = 512;   // the system's text of one error code
constexpr wchar_t kWriteFailedMessage[] =
    L"The run was stopped: the test file could not be written.";
constexpr wchar_t kNoReasonText[] = L"The system gave no reason.";
constexpr wchar_t kErrorCodeText[] = L"System error code ";  // followed by the code in decimal

// ---- Selection dialog, start-up and main window ----
constexpr int kExitCodeNormal = 0;
constexpr int kExitCodeNoWindow = 1;  // a window or control could not be made
constexpr int kDriveCount = 26;       // A to Z
constexpr int kDriveListMeasureItemHeight = 15;  // selection-field height used to measure the frame
constexpr uint32_t kDriveListStyle = 0x50000003;  // WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST
constexpr uint32_t kDriveItemMask = 0x37;  // text, image, selected image, indent, lParam
constexpr int kForceDeletesAtStartup = 3;
// Main window rows: a field and its label two units lower.
constexpr int kTaskLabelX = 16;
constexpr int kTaskLabelFirstY = 22;
constexpr int kTaskLabelWidth = 120;
constexpr int kTaskLabelHeight = 16;
constexpr int kTaskFieldFirstY = 20;
constexpr int kTaskRowPitch = 30;
constexpr int kFieldX = 140;
constexpr int kFieldWidth = 90;
constexpr int kFieldHeight = 20;
constexpr int kLabelBelowField = 2;
constexpr int kStatisticLabelX = 20;
constexpr int kStatisticLabelWidth = 120;
constexpr int kStatisticLabelHeight = 20;
constexpr int kMinimumFieldY = 340;
constexpr int kMaximumFieldY = 370;
constexpr int kAverageFieldY = 400;
constexpr int kReferenceFieldY = 450;
constexpr int kButtonY = 505;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 24;
constexpr int kStartButtonX = 35;
constexpr int kDonateButtonX = 165;
constexpr const wchar_t* kTaskLabelTexts[kTasksPerRun] = {
    L"Task 01 MB/Sec", L"Task 02 MB/Sec", L"Task 03 MB/Sec", L"Task 04 MB/Sec",
    L"Task 05 MB/Sec", L"Task 06 MB/Sec", L"Task 07 MB/Sec", L"Task 08 MB/Sec",
    L"Task 09 MB/Sec", L"Task 10 MB/Sec"};
constexpr wchar_t kMinimumLabelText[] = L"Your Min MB/Sec";
constexpr wchar_t kMaximumLabelText[] = L"Your Max MB/Sec";
constexpr wchar_t kAverageLabelText[] = L"Your Average MB/Sec";
// The test build of the program writes this much per task instead of 8 GiB.
constexpr int64_t kTestBuildBufferBytes = 67108864;  // 64 MiB

// ---- Window machinery: tables, styles and the records handed to the system ----
constexpr int kMaxProgramWindows = 16;
constexpr int kMaxControls = 128;          // over all open program windows
constexpr int kEventQueueCapacity = 256;
constexpr int kMaxJuggledWindows = 32;     // visible windows a message box disables at once
constexpr int kWindowClassNameChars = 32;
constexpr wchar_t kWindowClassPrefix[] = L"WindowClass_";
constexpr int kWindowIconResource = 1;
constexpr uint32_t kProgramWindowStyle = 0x00C80000;  // caption and system menu only
constexpr uint32_t kLabelStyle = 0x50020081;          // child, visible, group, no prefix, centred
constexpr uint32_t kValueFieldStyle = 0x50030080;     // child, visible, group, tab stop, auto scroll
constexpr uint32_t kButtonStyle = 0x50030000;         // child, visible, group, tab stop, push button
constexpr uint32_t kCommonControlsInitBytes = 8;
constexpr uint32_t kCommonControlClasses = 0xB48;     // tab, hot key, date, extended combo, address
constexpr uint32_t kNonClientMetricsBytes = 500;      // the record without iPaddedBorderWidth
constexpr uint32_t kLabelRedrawFlags = 0x407;         // invalidate, internal paint, erase, frame
constexpr uint32_t kShowCuesParam = 0x30002;          // clear hidden focus and accelerator cues
constexpr uint32_t kHideCuesParam = 0x30001;          // set them hidden
constexpr uint32_t kMessageBoxType = 0;               // one OK button, no icon
constexpr uint32_t kStartupInfoBytes = 104;
constexpr uint32_t kShellExecuteInfoBytes = 112;
constexpr uint32_t kShellExecuteMask = 0x540;         // keep process, no async, no error UI

// ---- Test file writer: judging a file found at the test path ----
constexpr uint32_t kCheckedPathChars = 1024;  // a file with a longer path is left alone
