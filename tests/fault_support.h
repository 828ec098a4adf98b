// What the fault tests share: the tiny drive T: and the Unix side under it,
// sentinel files that must come through a fault untouched, and what a user
// sees of a run that was stopped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "driver/product_driver.h"
#include "system/win.h"

constexpr wchar_t kTinyRoot[] = L"T:\\";
constexpr wchar_t kTestFileOnT[] = L"T:\\Varnhold.dat";
constexpr wchar_t kSentinelOnT[] = L"T:\\sentinel.bin";
constexpr wchar_t kSentinelOnD[] = L"D:\\sentinel.bin";
constexpr int64_t kTinyDriveBytes = 64 * 1048576;    // as the test script mounts it
constexpr int kRoomyTinyDriveMiB = 128;              // room for a whole task and a sentinel
constexpr size_t kSentinelBytes = 1048576 + 4321;    // not a whole number of pages
constexpr DWORD kFailureWaitMs = 60000;              // from Start to the failure message
constexpr DWORD kSmallRunWaitMs = 240000;            // a whole run of the test build

// ---- The Unix side ----
std::wstring WindowsPathOfUnix(const std::string& unixPath);  // through drive Z:
std::string BuildFolderUnix();
std::string TinyDriveUnix();  // the folder T: maps to
// Runs a shell command line on the Unix side and waits for it; its exit
// status, or -1 when it did not start or did not end in time. The command
// must hold no double quote.
int RunUnix(const std::string& command);

// ---- The tiny drive T: ----
int64_t TotalBytes(const wchar_t* root);  // -1 when the drive cannot be read
int64_t FreeBytes(const wchar_t* root);
// Fails the calling test unless T: is the small drive that fills up.
void ExpectTinyDrive();
bool ResizeTinyDrive(int mebibytes);
bool SetTinyDriveReadOnly(bool readOnly);
// Takes T:'s mapping out of the prefix, as if the device had been removed,
// and puts it back.
bool HideTinyDrive();
bool ShowTinyDrive();
// Back to the state the test script made: mapped, writable, 64 MiB, no test file.
void RestoreTinyDrive();
bool TestFileOnTinyDrive();  // seen from Unix, so also while T: is hidden

// ---- Files ----
std::string PatternOf(size_t bytes);
bool WriteWholeFile(const wchar_t* path, const std::string& content);
std::string ReadWholeFile(const wchar_t* path);  // "(cannot open)" when it cannot be read

// A file beside the test file that every fault must leave byte for byte.
struct Sentinel {
    std::wstring path;
    std::string content;
};
Sentinel PlantSentinel(const wchar_t* path, size_t bytes = kSentinelBytes);
bool SentinelUnchanged(const Sentinel& sentinel);

// ---- What the user sees ----
// The failure message of a run stopped by the test file, as the system words
// the reason.
std::wstring SystemReason(DWORD code);
std::wstring WriteFailureText(const wchar_t* testFilePath, DWORD code);
std::wstring TitleOf(HWND window);
// The texts of value fields 90 to 99, then 103 to 105.
std::vector<std::wstring> FieldTexts(HWND main);
// A run stopped in the task with that index shows "Failed" there, a figure
// in every field before it and "MB/Sec" after it and in the statistics.
void ExpectRunStoppedAt(const std::vector<std::wstring>& fields, int failedTask);
// The info message closed and the drive with that letter taken in the
// dialog: the main window, or null.
HWND OpenMainWindowOn(const Product& product, wchar_t driveLetter);
