#include "app_select_fixture.h"

#include <commctrl.h>

#include "system/constants.h"
#include "ui/gui.h"
#include "ui/gui_internal.h"

SelectScript g_selectScript;
SelectRecord g_selectRecord;

namespace {

ITEMIDLIST g_fakeItems[2];  // what the fake shell hands out as the profile's item list

void Note(const std::wstring& call) { g_selectRecord.calls.push_back(call); }

HRESULT WINAPI FakeSHGetFolderLocation(HWND owner, int folder, HANDLE token, DWORD reserved,
                                       PIDLIST_ABSOLUTE* items) {
    Note(L"SHGetFolderLocation " + std::to_wstring(folder) +
         (owner == nullptr && token == nullptr && reserved == 0 ? L"" : L" with extras"));
    *items = SUCCEEDED(g_selectScript.folderResult) ? g_fakeItems : nullptr;
    return g_selectScript.folderResult;
}

BOOL WINAPI FakeSHGetPathFromIDListW(PCIDLIST_ABSOLUTE items, LPWSTR path) {
    Note(items == g_fakeItems ? L"SHGetPathFromIDListW" : L"SHGetPathFromIDListW(other)");
    if (g_selectScript.pathFound) {
        wcscpy(path, g_selectScript.profilePath);
    } else {
        path[0] = L'\0';
    }
    return g_selectScript.pathFound;
}

void WINAPI FakeCoTaskMemFree(LPVOID memory) {
    Note(memory == g_fakeItems ? L"CoTaskMemFree" : L"CoTaskMemFree(other)");
}

DWORD_PTR WINAPI FakeSHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT bytes,
                                    UINT flags) {
    Note(L"SHGetFileInfoW " + std::wstring(path) + L" " + std::to_wstring(flags));
    if (flags & SHGFI_DISPLAYNAME) {
        wcscpy(info->szDisplayName, FakeDriveName(path[0]).c_str());
        return 1;
    }
    // The real system list, so the control has real images to draw.
    wchar_t windowsFolder[MAX_PATH];
    GetWindowsDirectoryW(windowsFolder, MAX_PATH);
    DWORD_PTR list = SHGetFileInfoW(windowsFolder, attributes, info, bytes, flags);
    if (wcslen(path) == 3) info->iIcon = FakeDriveIcon(path[0]);
    return list;
}

DWORD WINAPI FakeGetLogicalDrives() {
    Note(L"GetLogicalDrives");
    return g_selectScript.drives;
}

UINT WINAPI FakeSetErrorMode(UINT mode) {
    Note(L"SetErrorMode " + std::to_wstring(mode));
    return 0;
}

UINT WINAPI FakeGetWindowsDirectoryW(LPWSTR path, UINT capacity) {
    Note(L"GetWindowsDirectoryW");
    return GetWindowsDirectoryW(path, capacity);
}

HWND WINAPI FakeCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x,
                                int y, int width, int height, HWND parent, HMENU menu,
                                HINSTANCE instance, LPVOID param) {
    Note(L"CreateWindowExW " + std::wstring(className));
    if (!g_selectScript.listMade) return nullptr;
    return CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menu,
                           instance, param);
}

}  // namespace

const SelectOs kFakeSelectOs = {
    FakeSHGetFolderLocation, FakeSHGetPathFromIDListW, FakeCoTaskMemFree, FakeSHGetFileInfoW,
    FakeGetLogicalDrives,    FakeSetErrorMode,         FakeGetWindowsDirectoryW, FakeCreateWindowExW,
};

std::wstring FakeDriveName(wchar_t letter) {
    return std::wstring(L"Disk ") + letter + L" (" + letter + L":)";
}

int FakeDriveIcon(wchar_t letter) { return (letter - L'A') % 5; }

HWND InnerCombo(HWND driveList) {
    return reinterpret_cast<HWND>(SendMessageW(driveList, CBEM_GETCOMBOCONTROL, 0, 0));
}

std::vector<DriveItem> ReadDriveItems(HWND driveList) {
    std::vector<DriveItem> items;
    LRESULT count = SendMessageW(InnerCombo(driveList), CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(driveList, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        items.push_back(DriveItem{text, item.iImage, item.iSelectedImage, item.iIndent, item.lParam});
    }
    return items;
}

std::wstring ReadText(HWND window) {
    wchar_t text[64] = {};
    LRESULT length = SendMessageW(window, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    return std::wstring(text, static_cast<size_t>(length));
}

void SelectFixture::SetUpTestSuite() {
    static bool windowingSetUp = false;
    if (!windowingSetUp) {
        SetUpWindowing(GetModuleHandleW(nullptr));
        windowingSetUp = true;
    }
}

void SelectFixture::SetUp() {
    g_selectScript = SelectScript{};
    g_selectRecord = SelectRecord{};
    g_selectOs = kFakeSelectOs;
}

void SelectFixture::TearDown() { g_selectOs = kRealSelectOs; }

bool SelectFixture::WaitForControlEvent(int control, int* type) {
    ULONGLONG deadline = GetTickCount64() + 5000;
    while (GetTickCount64() < deadline) {
        MSG peek;
        if (!PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            // WaitEvent blocks only while nothing at all is pending.
            PostMessageW(nullptr, WM_NULL, 0, 0);
        }
        Event event = WaitEvent();
        if (event.kind == EventKind::Control && event.control == control) {
            *type = event.type;
            return true;
        }
    }
    return false;
}

std::vector<int> SelectFixture::DriveListEventTypes(HWND driveList) {
    // A last event of a type no notification has marks the end of the queue.
    constexpr int kEndOfQueue = 0x7EADBEEF;
    RaiseControlEvent(driveList, kEndOfQueue);
    std::vector<int> types;
    int type = 0;
    while (WaitForControlEvent(kDriveList, &type) && type != kEndOfQueue) types.push_back(type);
    return types;
}
