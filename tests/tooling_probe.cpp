#include <gtest/gtest.h>
#include "system/win.h"
TEST(Probe, RunsUnderWine) {
    HWND w = CreateWindowExW(0, L"Static", L"x", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(w, nullptr);
    HDC dc = GetDC(nullptr);
    printf("dpi %d\n", GetDeviceCaps(dc, LOGPIXELSX));
    ReleaseDC(nullptr, dc);
    DestroyWindow(w);
}
