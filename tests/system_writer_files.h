// What the writer tests against real files share: making, reading and
// patterning files, and a fixture with a folder of its own and the general heap.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "system/constants.h"
#include "system/memory.h"
#include "system/writer.h"
#include "system_temp_folder.h"

inline bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool MakeFile(const std::wstring& path, const std::string& content, DWORD attributes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == content.size() && SetFileAttributesW(path.c_str(), attributes);
}

inline std::string ReadWholeFile(const std::wstring& path) {
    std::string content;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(cannot open)";
    char block[65536];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) content.append(block, got);
    CloseHandle(file);
    return content;
}

// Every byte tells where it belongs, so a chunk out of place or order shows.
inline std::string PatternOf(size_t bytes) {
    std::string pattern(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i) pattern[i] = static_cast<char>((i * 7 + i / 65536) & 0xFF);
    return pattern;
}

inline void WriteInChunks(const std::string& data) {
    for (size_t offset = 0; offset < data.size(); offset += kChunkBytes) {
        const size_t length = std::min<size_t>(data.size() - offset, kChunkBytes);
        ASSERT_EQ(static_cast<int64_t>(length), WriteChunk(data.data() + offset, static_cast<int32_t>(length)));
    }
}

class WriterFiles : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ASSERT_TRUE(CreateGeneralHeap());
    }
    void TearDown() override {
        TempFolderTest::TearDown();
        DestroyGeneralHeap();
    }
};
