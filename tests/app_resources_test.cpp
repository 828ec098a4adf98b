// What the executable carries: icon group 1 with its five images, the
// manifest and the version information, read back from the built program.
#include <gtest/gtest.h>

#include <string>

#include "driver/product_driver.h"

namespace {

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {
    WORD reserved;
    WORD type;
    WORD count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = ProductPath(kProductExe);
        module = LoadLibraryExW(path.c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr) << "cannot open " << std::string(path.begin(), path.end());
    }
    void TearDown() override {
        if (module != nullptr) FreeLibrary(module);
    }
    const void* Resource(const wchar_t* type, int id, DWORD* bytes) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        if (found == nullptr) return nullptr;
        *bytes = SizeofResource(module, found);
        return LockResource(LoadResource(module, found));
    }
    std::wstring path;
    HMODULE module = nullptr;
};

TEST_F(ResourcesTest, IconGroupOneHoldsFiveThirtyTwoBitImagesOneToFive) {
    DWORD bytes = 0;
    auto group = static_cast<const IconGroup*>(Resource(RT_GROUP_ICON, 1, &bytes));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->count, 5);
    const int sizes[] = {16, 24, 32, 48, 64};
    for (int i = 0; i < 5; ++i) {
        const IconGroupEntry& entry = group->entries[i];
        SCOPED_TRACE(sizes[i]);
        EXPECT_EQ(entry.width, sizes[i]);
        EXPECT_EQ(entry.height, sizes[i]);
        EXPECT_EQ(entry.bitCount, 32);
        EXPECT_EQ(entry.id, i + 1);
        DWORD imageBytes = 0;
        auto image = static_cast<const BITMAPINFOHEADER*>(Resource(RT_ICON, entry.id, &imageBytes));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(imageBytes, entry.bytes);
        EXPECT_EQ(image->biWidth, sizes[i]);
        EXPECT_EQ(image->biHeight, 2 * sizes[i]);  // colour and mask
        EXPECT_EQ(image->biBitCount, 32);
    }
}

TEST_F(ResourcesTest, IconLoadsAtEverySize) {
    for (int size : {16, 24, 32, 48, 64}) {
        HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, size,
                                                   size, 0));
        EXPECT_NE(icon, nullptr) << size;
        if (icon != nullptr) DestroyIcon(icon);
    }
}

TEST_F(ResourcesTest, ManifestAsksForAdministratorDpiAwarenessAndCommonControlsSix) {
    DWORD bytes = 0;
    auto text = static_cast<const char*>(Resource(RT_MANIFEST, 1, &bytes));
    ASSERT_NE(text, nullptr);
    std::string manifest(text, bytes);
    const char* required[] = {
        "<assemblyIdentity version=\"1.0.0.0\" processorArchitecture=\"amd64\"",
        "type=\"win32\"/>",
        "<description></description>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "processorArchitecture=\"amd64\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"",
        "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>",
        ">true</dpiAware>",
    };
    for (const char* part : required) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return L"<none>";
    }
    return value;
}

TEST_F(ResourcesTest, VersionInformationNamesTheProductAndVersionOne) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

    EXPECT_EQ(VersionString(info, L"ProductName"), L"Varnhold Benchmark");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), L"1.0.0");
    EXPECT_EQ(VersionString(info, L"FileVersion"), L"1.0.0");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
