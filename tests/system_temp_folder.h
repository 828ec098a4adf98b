// A folder of the test's own under the system's temporary folder, emptied and
// removed again by the fixture.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "system/file_os.h"
#include "system/win.h"
#include "system/writer.h"

inline std::wstring MakeTempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring folder = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId()) + L"\\";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return {};
    return folder;
}

// Removes every file in the folder, whatever its attributes, then the folder.
inline void RemoveTempFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::wstring file = folder + found.cFileName;
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_fileOs = kRealFileOs;
        folder_ = MakeTempFolder(L"varnhold-system-");
        ASSERT_FALSE(folder_.empty());
        path_ = folder_ + kTestFileName;
    }
    void TearDown() override {
        CloseTestFile();
        RemoveTempFolder(folder_);
    }
    std::wstring folder_;
    std::wstring path_;
};
