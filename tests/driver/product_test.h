// A test that starts one built program and always ends it again, with no
// test file left on C: or D: before or after it.
#pragma once

#include <gtest/gtest.h>

#include "driver/product_driver.h"

constexpr wchar_t kTestFileOnC[] = L"C:\\Varnhold.dat";
constexpr wchar_t kTestFileOnD[] = L"D:\\Varnhold.dat";

// Removes what a test put where the test file goes: a file, whatever its
// attributes, or an empty folder.
inline void ClearTestFile(const wchar_t* path) {
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path);
    RemoveDirectoryW(path);
}

inline bool FileExists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

inline bool MakeFile(const wchar_t* path, DWORD attributes) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, "left over", 9, &written, nullptr);
    CloseHandle(file);
    return SetFileAttributesW(path, attributes) != FALSE;
}

class ProductTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearTestFile(kTestFileOnC);
        ClearTestFile(kTestFileOnD);
    }
    void TearDown() override {
        EndProduct(&product);
        ClearTestFile(kTestFileOnC);
        ClearTestFile(kTestFileOnD);
    }
    void Start(const wchar_t* exeName) {
        ASSERT_TRUE(StartProduct(exeName, &product)) << "cannot start the program";
    }
    Product product{};
};
