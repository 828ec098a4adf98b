#include "ui/select_target.h"

#include "system/constants.h"
#include "ui/drive_list.h"
#include "ui/gui.h"
#include "ui/select_os.h"

std::wstring ProfileStartFolder() {
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(g_selectOs.SHGetFolderLocation(nullptr, CSIDL_PROFILE, nullptr, 0, &items))) {
        return std::wstring();
    }
    wchar_t path[MAX_PATH] = {};
    BOOL found = g_selectOs.SHGetPathFromIDListW(items, path);
    g_selectOs.CoTaskMemFree(items);
    std::wstring folder = found ? path : L"";
    if (!folder.empty() && folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

namespace {

bool MakeDialogControls() {
    std::wstring startFolder = ProfileStartFolder();
    return MakeDriveList(startFolder.c_str()) &&
           AddControl(ControlKind::Button, kOkButton, kOkButtonX, kOkButtonY, kOkButtonWidth,
                      kOkButtonHeight, kOkText);
}

}  // namespace

std::optional<std::wstring> SelectTargetFolder() {
    if (!OpenProgramWindow(kSelectWindow, kCentred, kCentred, kSelectClientWidth,
                           kSelectClientHeight, kSelectTitle)) {
        return std::nullopt;
    }
    if (!MakeDialogControls()) {
        CloseProgramWindow(kSelectWindow);
        return std::nullopt;
    }
    std::wstring target = DriveListText();
    for (;;) {
        Event event = WaitEvent();
        if (event.kind == EventKind::Close && event.window != kSelectWindow) {
            return std::nullopt;  // the dialog is gone: OK can never come
        }
        if (event.kind != EventKind::Control) {
            continue;  // closing the dialog is not a way out of it
        }
        if (event.control == kDriveList) {
            target = DriveListText();
        } else if (event.control == kOkButton) {
            CloseProgramWindow(kSelectWindow);
            return target;
        }
    }
}
