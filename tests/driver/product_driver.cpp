#include "driver/product_driver.h"

#include <cstdlib>

#include "system/constants.h"

#include <commctrl.h>

namespace {

constexpr DWORD kPollMs = 10;
constexpr UINT kSendTimeoutMs = 5000;

// The build folder is a Unix path; Wine shows the Unix root as drive Z:.
std::wstring WindowsPathOfUnix(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c != '\0'; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    }
    return path;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM context) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

}  // namespace

std::wstring ProductPath(const wchar_t* exeName) {
    return WindowsPathOfUnix(VARNHOLD_PRODUCT_DIR) + L"\\" + exeName;
}

std::wstring BrowserLogPath() {
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix == nullptr ? std::wstring() : WindowsPathOfUnix(prefix) + L"\\browser.log";
}

bool StartProduct(const wchar_t* exeName, Product* product) {
    *product = Product{};
    std::wstring path = ProductPath(exeName);
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    product->started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                      nullptr, nullptr, &startup, &product->process) != FALSE;
    return product->started;
}

void EndProduct(Product* product) {
    if (!product->started) {
        return;
    }
    if (WaitForSingleObject(product->process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(product->process.hProcess, 99);
        WaitForSingleObject(product->process.hProcess, kWindowWaitMs);
    }
    CloseHandle(product->process.hThread);
    CloseHandle(product->process.hProcess);
    product->started = false;
}

DWORD WaitForExit(const Product& product, DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(product.process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(product.process.hProcess, &code);
    }
    return code;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(kPollMs);
    }
}

std::vector<HWND> VisibleWindowsOf(const Product& product) {
    WindowSearch search{product.process.dwProcessId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const Product& product, const wchar_t* className, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : VisibleWindowsOf(product)) {
                if (ClassOf(window) == className) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

namespace {

HWND WaitForWindowWith(const Product& product, const wchar_t* className, int lastControl) {
    HWND window = WaitForWindow(product, className, kWindowWaitMs);
    if (window == nullptr ||
        !WaitUntil([&] { return GetDlgItem(window, lastControl) != nullptr; }, kWindowWaitMs)) {
        return nullptr;
    }
    return window;
}

}  // namespace

HWND WaitForDialog(const Product& product) {
    return WaitForWindowWith(product, kDialogClass, kOkButton);
}

HWND WaitForMainWindow(const Product& product) {
    return WaitForWindowWith(product, kMainClass, kDonateButton);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
        return L"<no answer>";
    }
    return std::wstring(text, length);
}

std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text == nullptr ? std::wstring(L"<no text control>") : TextOf(text);
}

RECT ChildRect(HWND parent, int id) {
    RECT rect{};
    HWND child = GetDlgItem(parent, id);
    if (child != nullptr) {
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

POINT ClientOrigin(HWND window) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

HWND FocusedWindow(const Product& product) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(product.process.dwThreadId, &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int Scale(int logical) { return MulDiv(logical, ScreenDpi(), kLogicalDpi); }

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool RepeatUntil(const std::function<void()>& action, const std::function<bool()>& taken,
                 DWORD timeoutMs) {
    constexpr DWORD kRepeatMs = 2000;
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        action();
        if (WaitUntil(taken, kRepeatMs)) {
            return true;
        }
    } while (GetTickCount64() < deadline);
    return false;
}

bool CloseMainWindow(const Product& product, HWND main) {
    bool ended = RepeatUntil([&] { PostMessageW(main, WM_CLOSE, 0, 0); },
                             [&] { return WaitForExit(product, 0) != STILL_ACTIVE; },
                             kWindowWaitMs);
    return ended && WaitForExit(product, 0) == 0;
}

bool PressStart(HWND main) {
    HWND start = GetDlgItem(main, kStartButton);
    return RepeatUntil([&] { Press(start); }, [&] { return !IsWindowEnabled(start); },
                       kWindowWaitMs);
}

void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void CloseMessageBox(HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }

void KeyPress(WORD key, bool withAlt, bool withShift) {
    if (withAlt) SendKey(VK_MENU, false);
    if (withShift) SendKey(VK_SHIFT, false);
    SendKey(key, false);
    SendKey(key, true);
    if (withShift) SendKey(VK_SHIFT, true);
    if (withAlt) SendKey(VK_MENU, true);
}

HWND PassInfoAndDialog(const Product& product) {
    HWND info = WaitForWindow(product, kMessageBoxClass, kWindowWaitMs);
    if (info == nullptr) {
        return nullptr;
    }
    CloseMessageBox(info);
    HWND dialog = WaitForDialog(product);
    if (dialog == nullptr) {
        return nullptr;
    }
    Press(GetDlgItem(dialog, kOkButton));
    return WaitForMainWindow(product);
}

bool ConfirmDriveItem(HWND driveList, int index, const std::wstring& pathText) {
    HWND combo = reinterpret_cast<HWND>(SendMessageW(driveList, CBEM_GETCOMBOCONTROL, 0, 0));
    return RepeatUntil(
        [&] {
            SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
            SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            PostMessageW(combo, WM_KEYDOWN, VK_RETURN, 0);
        },
        [&] { return TextOf(driveList) == pathText; }, kWindowWaitMs);
}

int DriveItemIndex(wchar_t letter) {
    DWORD drives = GetLogicalDrives();
    int index = 0;
    for (int n = 0; n < letter - L'A'; ++n) {
        if (drives & (1u << n)) ++index;
    }
    return index;
}
