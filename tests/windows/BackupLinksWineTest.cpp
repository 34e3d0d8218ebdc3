// A repair's backup is written only where the program composed it: a link at
// any level of its folders, planted beforehand or swapped in after the level
// was checked, or a file in a level's place, stops the repair, and the folder
// the link leads to stays as it was (the links: scripts/test-fixtures.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "TestFiles.h"
#include "platform/win32/Win32Platform.h"
#include "repair/HijackValues.h"
#include "repair/Repairs.h"

using namespace cc;

namespace {

const std::wstring kLevels[] = {L"base", L"澄川清理助手", L"备份", L"20261208-090507-IE首页修改"};
constexpr wchar_t kMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";
const std::wstring kHijack = L"http://hijack.example/";

struct CaseSystem final : Win32SystemQueries {   // the case's local application data, at the time of kLevels[3]
    std::string localAppData;
    std::string QueryLocalAppData() override { return localAppData; }
    LocalTime QueryLocalTime() override { return {2026, 12, 8, 9, 5, 7}; }
};

// Holds folders as the program does, and swaps the case's cur for its alt
// (where level `swapAt` is a link) right before the first thing is made in
// the folder of that level: after its check, before any write below it.
class SwappingFiles final : public Win32FileSystem {
public:
    std::wstring set;
    int swapAt = -1;
    bool swapped = false;

    std::unique_ptr<HeldFolder> holdFolder(std::string_view path) override { return wrap(Win32FileSystem::holdFolder(path), 0); }

private:
    class Held final : public HeldFolder {
    public:
        Held(std::unique_ptr<HeldFolder> inner, SwappingFiles& files, int level) : inner_(std::move(inner)), files_(files), level_(level) {}
        std::unique_ptr<HeldFolder> subfolder(std::string_view name, bool mustBeNew, bool& taken) override {
            return before(), files_.wrap(inner_->subfolder(name, mustBeNew, taken), level_ + 1);
        }
        bool createFile(std::string_view name, std::span<const std::byte> content) override { return before(), inner_->createFile(name, content); }
        Lookup copyFile(std::string_view from, std::string_view name, std::uint64_t& id) override { return before(), inner_->copyFile(from, name, id); }
        bool replaceFile(std::string_view name, std::span<const std::byte> content) override { return before(), inner_->replaceFile(name, content); }
        void keep() override { inner_->keep(); }

    private:
        void before() {
            if (level_ != files_.swapAt || files_.swapped) return;
            std::wstring link = kLevels[0];
            for (int i = 1; i <= level_; ++i) link += L"\\" + kLevels[i];
            files_.swapped = test::SwapInLink(files_.set, link);
        }
        std::unique_ptr<HeldFolder> inner_;
        SwappingFiles& files_;
        int level_;
    };
    std::unique_ptr<HeldFolder> wrap(std::unique_ptr<HeldFolder> inner, int level) {
        return inner ? std::make_unique<Held>(std::move(inner), *this, level) : nullptr;
    }
};

std::wstring StartPage() {
    wchar_t text[256]{};
    DWORD size = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, kMain, L"Start Page", RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

// The bytes of every file below `folder`, links not followed.
std::uint64_t BytesBelow(const std::wstring& folder) {
    std::uint64_t bytes = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data)) {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L".." || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) bytes += BytesBelow(folder + name + L"\\");
        else bytes += (std::uint64_t(data.nFileSizeHigh) << 32) + data.nFileSizeLow;
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return bytes;
}

}  // namespace

TEST(BackupOnWine, ALinkOrAFileAtAnyLevelOfTheBackupStopsTheRepairAndWhatALinkLeadsToStaysAsItWas) {
    const std::wstring privileged = L"C:\\cc-fixtures\\priv-backup\\";
    ASSERT_TRUE(test::MakePrivilegedTwin(privileged + L"keep.txt", "privileged")) << "run scripts/test-fixtures.sh";
    enum How { Planted, Swapped, AFile, Nothing };
    struct Case {
        How how;
        int level;
        const wchar_t* savedAs;   // the backup's folder when the repair goes on
    };
    const Case cases[] = {{Nothing, 0, L"20261208-090507-IE首页修改"},
                          {Planted, 0, nullptr}, {Planted, 1, nullptr}, {Planted, 2, nullptr},
                          {Planted, 3, L"20261208-090507-IE首页修改-2"},   // the folder must be new: the next name
                          {Swapped, 0, nullptr}, {Swapped, 1, nullptr}, {Swapped, 2, nullptr}, {Swapped, 3, nullptr},
                          {AFile, 1, nullptr}, {AFile, 2, nullptr}, {AFile, 3, L"20261208-090507-IE首页修改-2"}};
    DWORD slowest = 0;
    for (const Case& c : cases) {
        const wchar_t* kinds[] = {L"planted-", L"swapped-", L"file-", L"nothing-"};
        const std::wstring set = L"T:\\backup\\" + std::wstring(kinds[c.how]) + std::to_wstring(c.level) + L"\\";
        std::wstring level = set + L"cur";
        CreateDirectoryW(set.c_str(), nullptr), CreateDirectoryW(level.c_str(), nullptr);
        for (int i = 0; i < c.level; ++i) CreateDirectoryW((level += L"\\" + kLevels[i]).c_str(), nullptr);
        if (c.how == AFile) ASSERT_TRUE(test::MakeFile(level + L"\\" + kLevels[c.level], "in the way"));
        if (c.how == Nothing) CreateDirectoryW((set + L"cur\\base").c_str(), nullptr);
        ASSERT_TRUE(test::SetRegistryValue(HKEY_CURRENT_USER, kMain, L"Start Page", REG_SZ, kHijack.c_str(),
                                           DWORD((kHijack.size() + 1) * sizeof(wchar_t))));

        SwappingFiles files;
        files.set = set, files.swapAt = c.how == Swapped ? c.level : -1;
        Win32Registry registry;
        Win32Processes processes;
        CaseSystem system;
        system.localAppData = Narrow(set) + "cur\\base\\";
        Win32Resources resources;
        Platform platform{files, registry, processes, system, resources};
        ProgramState state;
        const DWORD start = GetTickCount();
        const bool repaired = RunRepair(HijackRow::StartPage, state, platform);
        slowest = std::max(slowest, GetTickCount() - start);

        const std::wstring what = set + L" level " + std::to_wstring(c.level);
        EXPECT_EQ(files.swapped, c.how == Swapped) << what;
        EXPECT_EQ(repaired, c.savedAs != nullptr) << what;
        EXPECT_EQ(StartPage(), repaired ? L"about:blank" : kHijack) << what;
        EXPECT_TRUE(test::IsUntouchedTwin(privileged + L"keep.txt", "privileged")) << what;
        EXPECT_EQ(BytesBelow(privileged), 10u) << what;   // keep.txt alone
        const std::wstring saved = set + L"cur\\base\\澄川清理助手\\备份\\" + (c.savedAs ? c.savedAs : L"") + L"\\";
        if (c.savedAs) {
            EXPECT_NE(test::ReadWholeFile(saved + L"undo.reg").find(std::string("h\0i\0j\0a\0c\0k\0", 12)), std::string::npos) << what;
            EXPECT_TRUE(test::Exists(saved + L"readme.txt")) << what;
            for (const wchar_t* file : {L"undo.reg", L"readme.txt"}) DeleteFileW((saved + file).c_str());
            RemoveDirectoryW(saved.c_str());
        } else {
            EXPECT_EQ(BytesBelow(set), c.how == AFile ? 10u : 0u) << what;   // nothing written anywhere
        }
        if (files.swapped) EXPECT_TRUE(test::SwapBack(set)) << what;
    }
    // A repair with its backup still answers within the others' one-second wait and 100 ms.
    EXPECT_LT(slowest, 1100u);
    std::printf("slowest start-page repair with its backup: %lu ms\n", slowest);
}
