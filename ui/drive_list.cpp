#include "ui/drive_list.h"

#include "system/constants.h"
#include "system/win.h"
#include "ui/gui_internal.h"
#include "ui/select_os.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

namespace {

struct DriveListState {
    HWND control;         // the ComboBoxEx32; null while none exists
    wchar_t pathText[4];  // "" or a letter, ':' and a backslash
};

DriveListState g_driveList;

void SetPathText(int driveNumber) {
    g_driveList.pathText[0] = static_cast<wchar_t>(L'A' + driveNumber);
    g_driveList.pathText[1] = L':';
    g_driveList.pathText[2] = L'\\';
    g_driveList.pathText[3] = L'\0';
}

HWND InnerCombo(HWND control) {
    return reinterpret_cast<HWND>(SendMessageW(control, CBEM_GETCOMBOCONTROL, 0, 0));
}

LRESULT CopyPathText(WPARAM capacity, wchar_t* out) {
    if (capacity == 0 || out == nullptr) {
        return 0;
    }
    size_t length = wcslen(g_driveList.pathText);
    if (length > capacity - 1) {
        length = capacity - 1;
    }
    wmemcpy(out, g_driveList.pathText, length);
    out[length] = L'\0';
    return static_cast<LRESULT>(length);
}

// Reading the control's text yields the path text, never the name shown.
LRESULT CALLBACK DriveListProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR id, DWORD_PTR) {
    switch (message) {
    case WM_GETTEXT:
        return CopyPathText(wParam, reinterpret_cast<wchar_t*>(lParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(wcslen(g_driveList.pathText));
    case WM_NCDESTROY:
        g_driveList = DriveListState{};
        RemoveWindowSubclass(control, DriveListProc, id);
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

// A confirmed choice (CBN_SELENDOK) sets the path text from the chosen item
// and becomes one control event of type 0; other notifications pass on.
bool OnDriveListCommand(HWND control, int notification) {
    if (notification != CBN_SELENDOK) {
        return false;
    }
    g_driveList.pathText[0] = L'\0';
    LRESULT selected = SendMessageW(InnerCombo(control), CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_LPARAM;
        item.iItem = selected;
        item.lParam = -1;
        SendMessageW(control, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (item.lParam != -1) {
            SetPathText(LOWORD(item.lParam));
        }
    }
    RaiseControlEvent(control, 0);
    return true;
}

void AttachSystemImageList(HWND control) {
    wchar_t windowsFolder[MAX_PATH] = {};
    g_selectOs.GetWindowsDirectoryW(windowsFolder, MAX_PATH);
    SHFILEINFOW info{};
    DWORD_PTR images = g_selectOs.SHGetFileInfoW(windowsFolder, 0, &info, sizeof info,
                                                 SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    SendMessageW(control, CBEM_SETIMAGELIST, 0, static_cast<LPARAM>(images));
}

// The selection field's height that gives the whole closed control the
// height asked: measure the frame at a known field height first.
void SetClosedHeight(HWND control, int height) {
    SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kDriveListMeasureItemHeight);
    RECT rect{};
    GetWindowRect(control, &rect);
    int frame = (rect.bottom - rect.top) - kDriveListMeasureItemHeight;
    SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame);
}

void RemoveEveryItem(HWND control) {
    HWND combo = InnerCombo(control);
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    while (count > 0) {
        SendMessageW(control, CB_DELETESTRING, 0, 0);
        LRESULT left = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        if (left >= count) {
            break;  // the list refuses: never loop for ever
        }
        count = left;
    }
}

void InsertDrive(HWND control, int index, int driveNumber) {
    wchar_t root[4] = {static_cast<wchar_t>(L'A' + driveNumber), L':', L'\\', L'\0'};
    SHFILEINFOW icon{};
    g_selectOs.SHGetFileInfoW(root, 0, &icon, sizeof icon, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    SHFILEINFOW name{};
    g_selectOs.SHGetFileInfoW(root, 0, &name, sizeof name, SHGFI_DISPLAYNAME);
    COMBOBOXEXITEMW item{};
    item.mask = kDriveItemMask;
    item.iItem = index;
    item.pszText = name.szDisplayName;
    item.iImage = icon.iIcon;
    item.iSelectedImage = icon.iIcon;
    item.iIndent = 0;
    item.lParam = driveNumber;
    SendMessageW(control, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int StartDriveOf(const wchar_t* folder) {
    if (folder == nullptr) {
        return -1;
    }
    wchar_t first = folder[0];
    if (first >= L'a' && first <= L'z') {
        return first - L'a';
    }
    if (first >= L'A' && first <= L'Z') {
        return first - L'A';
    }
    return -1;
}

void FillDriveList(const wchar_t* startFolder) {
    HWND control = g_driveList.control;
    if (control == nullptr) {
        return;
    }
    // A drive without a medium must not raise a system error box.
    g_selectOs.SetErrorMode(SEM_FAILCRITICALERRORS);
    int startDrive = StartDriveOf(startFolder);
    g_driveList.pathText[0] = L'\0';
    if (startDrive >= 0) {
        SetPathText(startDrive);
    }
    RemoveEveryItem(control);
    DWORD drives = g_selectOs.GetLogicalDrives();
    int index = 0;
    int startIndex = -1;
    for (int n = 0; n < kDriveCount; ++n) {
        if ((drives & (1u << n)) == 0) {
            continue;
        }
        InsertDrive(control, index, n);
        if (n == startDrive) {
            startIndex = index;
        }
        ++index;
    }
    g_selectOs.SetErrorMode(0);
    SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(startIndex), 0);
}

bool MakeDriveList(const wchar_t* startFolder) {
    HWND parent = LastProgramWindow();
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    // Created with the extent of the dropped-down list, in device pixels.
    HWND control = g_selectOs.CreateWindowExW(
        0, WC_COMBOBOXEXW, nullptr, kDriveListStyle, ScaleX(kDriveListX), ScaleY(kDriveListY),
        ScaleX(kDriveListWidth), kDriveListDroppedHeightPixels, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDriveList)), instance, nullptr);
    if (control == nullptr) {
        return false;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), TRUE);
    g_driveList = DriveListState{};
    g_driveList.control = control;
    SetWindowSubclass(control, DriveListProc, 0, 0);
    RegisterControl(control, kDriveList, OnDriveListCommand);
    AttachSystemImageList(control);
    SetClosedHeight(control, ScaleY(kDriveListClosedHeight));
    FillDriveList(startFolder);
    return true;
}

std::wstring DriveListText() {
    HWND control = ControlHandle(kDriveList);
    if (control == nullptr) {
        return std::wstring();
    }
    wchar_t text[8] = {};
    LRESULT length = SendMessageW(control, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(text));
    return std::wstring(text, static_cast<size_t>(length));
}
