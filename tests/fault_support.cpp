#include "fault_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <vector>

#include "system/constants.h"

namespace {

constexpr DWORD kUnixWaitMs = 30000;
constexpr wchar_t kUnixShell[] = L"Z:\\bin\\sh -c ";
constexpr int64_t kTinyDriveSlackBytes = 1048576;

std::wstring Widen(const std::string& text) {
    std::wstring wide;
    for (char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

std::string PrefixUnix() {
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix == nullptr ? std::string() : std::string(prefix);
}

std::string DosDevicesUnix() { return PrefixUnix() + "/dosdevices"; }

// The shell's exit status once it has written it; false while it has not.
bool ReadStatus(const std::wstring& path, int* status) {
    const std::string text = ReadWholeFile(path.c_str());
    if (text.empty() || text.back() != '\n') return false;
    *status = std::atoi(text.c_str());
    return true;
}

}  // namespace

std::wstring WindowsPathOfUnix(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
}

std::string BuildFolderUnix() { return VARNHOLD_PRODUCT_DIR; }

std::string TinyDriveUnix() { return BuildFolderUnix() + "/wine/tiny-drive"; }

// A Unix process started from Wine cannot be waited on, so the shell leaves
// its exit status in a file of its own and that file is waited for.
int RunUnix(const std::string& command) {
    static std::atomic<int> count{0};
    const std::string done = BuildFolderUnix() + "/fault-unix-" + std::to_string(GetCurrentProcessId()) +
                             "-" + std::to_string(++count) + ".status";
    const std::wstring donePath = WindowsPathOfUnix(done);
    DeleteFileW(donePath.c_str());
    std::wstring line = kUnixShell + (L"\"" + Widen(command) + L"; echo $? > " + Widen(done) + L"\"");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    int status = -1;
    const bool ended = WaitUntil([&] { return ReadStatus(donePath, &status); }, kUnixWaitMs);
    DeleteFileW(donePath.c_str());
    return ended ? status : -1;
}

int64_t TotalBytes(const wchar_t* root) {
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExW(root, &available, &total, &free)) return -1;
    return static_cast<int64_t>(total.QuadPart);
}

int64_t FreeBytes(const wchar_t* root) {
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExW(root, &available, &total, &free)) return -1;
    return static_cast<int64_t>(free.QuadPart);
}

void ExpectTinyDrive() {
    const int64_t total = TotalBytes(kTinyRoot);
    ASSERT_GT(total, 0) << "there is no drive T:; scripts/test.sh maps it to " << TinyDriveUnix();
    ASSERT_LE(total, kTinyDriveBytes + kTinyDriveSlackBytes)
        << "T: holds " << total << " bytes: it is not the 64 MiB drive that fills up. "
        << "scripts/test.sh mounts a tmpfs at " << TinyDriveUnix() << " only when run as root.";
}

bool ResizeTinyDrive(int mebibytes) {
    return RunUnix("mount -o remount,size=" + std::to_string(mebibytes) + "m " + TinyDriveUnix()) == 0;
}

bool SetTinyDriveReadOnly(bool readOnly) {
    return RunUnix(std::string("mount -o remount,") + (readOnly ? "ro " : "rw ") + TinyDriveUnix()) == 0;
}

bool HideTinyDrive() {
    return RunUnix("mv " + DosDevicesUnix() + "/t: " + DosDevicesUnix() + "/t.gone") == 0;
}

bool ShowTinyDrive() {
    return RunUnix("mv " + DosDevicesUnix() + "/t.gone " + DosDevicesUnix() + "/t:") == 0;
}

// From Unix: a planted link goes itself, never the file behind it, and the
// drive is made small again only once it is empty.
void RestoreTinyDrive() {
    const std::string devices = DosDevicesUnix();
    const std::string tiny = TinyDriveUnix();
    RunUnix("if [ -L " + devices + "/t.gone ]; then mv " + devices + "/t.gone " + devices + "/t:; fi; " +
            "mountpoint -q " + tiny + " && mount -o remount,rw " + tiny + "; rm -f " + tiny +
            "/Varnhold.dat " + tiny + "/sentinel.bin; mountpoint -q " + tiny +
            " && mount -o remount,size=64m " + tiny);
}

bool TestFileOnTinyDrive() {
    return GetFileAttributesW(WindowsPathOfUnix(TinyDriveUnix() + "/Varnhold.dat").c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

// Every byte tells where it belongs, so a byte moved, lost or overwritten shows.
std::string PatternOf(size_t bytes) {
    std::string pattern(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i) pattern[i] = static_cast<char>((i * 131 + (i >> 12)) & 0xFF);
    return pattern;
}

bool WriteWholeFile(const wchar_t* path, const std::string& content) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == content.size();
}

std::string ReadWholeFile(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(cannot open)";
    std::string content;
    std::vector<char> block(65536);
    DWORD got = 0;
    while (ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &got, nullptr) && got > 0) {
        content.append(block.data(), got);
    }
    CloseHandle(file);
    return content;
}

Sentinel PlantSentinel(const wchar_t* path, size_t bytes) {
    Sentinel sentinel = {path, PatternOf(bytes)};
    if (!WriteWholeFile(path, sentinel.content)) sentinel.content.clear();
    return sentinel;
}

bool SentinelUnchanged(const Sentinel& sentinel) {
    return !sentinel.content.empty() && ReadWholeFile(sentinel.path.c_str()) == sentinel.content;
}

std::wstring SystemReason(DWORD code) {
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, text, 512, nullptr);
    std::wstring reason;
    for (DWORD i = 0; i < length; ++i) {
        if (text[i] != L'\n') reason += text[i];
    }
    while (!reason.empty() && reason.back() == L'\r') reason.pop_back();
    return reason;
}

std::wstring WriteFailureText(const wchar_t* testFilePath, DWORD code) {
    return std::wstring(kWriteFailedMessage) + L"\r" + testFilePath + L"\r" + SystemReason(code);
}

std::wstring TitleOf(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

std::vector<std::wstring> FieldTexts(HWND main) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < kTasksPerRun; ++i) texts.push_back(TextOf(GetDlgItem(main, kFirstTaskField + i)));
    for (int number : {kMinimumField, kMaximumField, kAverageField}) {
        texts.push_back(TextOf(GetDlgItem(main, number)));
    }
    return texts;
}

void ExpectRunStoppedAt(const std::vector<std::wstring>& fields, int failedTask) {
    ASSERT_EQ(fields.size(), static_cast<size_t>(kTasksPerRun + 3));
    for (int i = 0; i < kTasksPerRun + 3; ++i) {
        const std::wstring& text = fields[i];
        const std::string shown(text.begin(), text.end());
        if (i < failedTask) {
            EXPECT_TRUE(text != kFieldPlaceholder && text != kFailedText) << "field " << i << ": " << shown;
        } else if (i == failedTask) {
            EXPECT_EQ(text, kFailedText) << "field " << i;
        } else {
            EXPECT_EQ(text, kFieldPlaceholder) << "field " << i;
        }
    }
}

HWND OpenMainWindowOn(const Product& product, wchar_t driveLetter) {
    HWND info = WaitForWindow(product, kMessageBoxClass, kWindowWaitMs);
    if (info == nullptr) return nullptr;
    CloseMessageBox(info);
    HWND dialog = WaitForDialog(product);
    if (dialog == nullptr) return nullptr;
    const std::wstring root = std::wstring(1, driveLetter) + L":\\";
    if (!ConfirmDriveItem(GetDlgItem(dialog, kDriveList), DriveItemIndex(driveLetter), root)) return nullptr;
    Press(GetDlgItem(dialog, kOkButton));
    return WaitForMainWindow(product);
}
