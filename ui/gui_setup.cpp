// Set-up and tear-down of the window machinery, and the screen scale.
#include <cstddef>

#include "ui/gui.h"
#include "ui/gui_internal.h"
#include "ui/gui_os.h"
#include "ui/gui_state.h"

static_assert(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth) == kNonClientMetricsBytes);
static_assert(sizeof(INITCOMMONCONTROLSEX) == kCommonControlsInitBytes);
static_assert(kCommonControlClasses == (ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES |
                                        ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES));

namespace {

// Read once: a later change of the display scale leaves the program as it was.
void ReadScreenScale() {
    HDC screen = GetDC(nullptr);
    g_windowing.dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    g_windowing.dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
}

// The message font of the system, or the stock GUI font when it cannot be had.
// The record is passed without its last field, so older systems answer too.
HFONT MakeUiFont() {
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = kNonClientMetricsBytes;
    if (g_uiOs.SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsBytes, &metrics, 0)) {
        HFONT message = CreateFontIndirectW(&metrics.lfMessageFont);
        if (message != nullptr) font = message;
    }
    return font;
}

}  // namespace

void SetUpWindowing(HINSTANCE instance) {
    g_windowing.instance = instance;
    ReadScreenScale();
    g_windowing.icon = LoadIconW(instance, MAKEINTRESOURCEW(kWindowIconResource));
    g_windowing.cursor = LoadCursorW(nullptr, IDC_ARROW);
    g_windowing.font = MakeUiFont();
    INITCOMMONCONTROLSEX classes = {kCommonControlsInitBytes, kCommonControlClasses};
    InitCommonControlsEx(&classes);
    CoInitialize(nullptr);  // never uninitialised: the shell calls need it to the end
}

void TearDownWindowing() {
    while (g_windowing.windowCount > 0) {
        CloseProgramWindow(g_windowing.windows[g_windowing.windowCount - 1].number);
    }
    if (g_windowing.icon != nullptr) DestroyIcon(g_windowing.icon);
    g_windowing.icon = nullptr;
}

int ScaleX(int logical) { return MulDiv(logical, g_windowing.dpiX, kLogicalDpi); }

int ScaleY(int logical) { return MulDiv(logical, g_windowing.dpiY, kLogicalDpi); }

HFONT UiFont() { return g_windowing.font; }
