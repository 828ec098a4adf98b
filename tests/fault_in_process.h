// The program's whole life inside the test process, with its seams open to
// the test, while a second thread works its windows as a user would. That
// thread only looks and acts; what it saw is checked afterwards, on the
// test's own thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "driver/product_driver.h"
#include "system/constants.h"

// Eight whole chunks and a last one of the program's last-chunk size: the
// write pattern of a task in little, so ten of them fit on T: beside a sentinel.
constexpr int64_t kMiniatureBufferBytes = 8 * kChunkBytes + kLastChunkBytes;
constexpr DWORD kMiniatureRunWaitMs = 60000;

// The seams every run in the test process needs: the gate sees plenty of
// free memory whatever the machine has, each task writes the miniature
// buffer, and every pause lasts a tenth of its time.
void PrepareProgramInProcess();

// Runs the program on this thread while user() acts on another; once user()
// is done, whatever is still open is closed so that the program ends.
// *rescued tells whether that was needed. Returns the program's exit code.
int RunProgramWhile(const std::function<void(const Product& self)>& user, bool* rescued);

// ---- What the user's thread does ----
struct MessageSeen {
    bool shown;
    std::wstring title;
    std::wstring text;
};
// Waits for a message box, reads it and closes it; before closing, look() runs.
MessageSeen ReadAndCloseMessage(const Product& self, DWORD timeoutMs,
                                const std::function<void()>& look = [] {});
bool WaitUntilStartEnabled(HWND main);
bool CloseMainWindowInProcess(HWND main);
