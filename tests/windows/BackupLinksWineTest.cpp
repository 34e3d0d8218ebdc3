// A repair's backup is written only where the program composed it: a link at any level of its folders, planted
// beforehand or swapped in after the level was checked, or a file in a level's place, stops the repair, and the
// folder the link leads to stays as it was (the links: scripts/test-fixtures.sh).
#include <gtest/gtest.h>

#include <sddl.h>

#include "TestFiles.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/Win32Platform.h"
#include "repair/HijackValues.h"
#include "repair/Repairs.h"

using namespace cc;

namespace {

const std::wstring kLevels[] = {L"base", L"澄川清理助手", L"备份", L"20261208-090507-IE首页修改"};

struct CaseSystem final : Win32SystemQueries {   // at the time of kLevels[3]
    std::string localAppData;
    std::string QueryLocalAppData() override { return localAppData; }
    LocalTime QueryLocalTime() override { return {2026, 12, 8, 9, 5, 7}; }
};

// Holds folders as the program does, and swaps the case's cur for its alt (whose `link` is a link)
// right before the first thing is made in the folder of level `swapAt`: after its check, before any write below it.
struct SwappingFiles final : Win32FileSystem {
    std::wstring set, link;
    int swapAt = -1;
    bool swapped = false;
    struct Held final : HeldFolder {
        Held(std::unique_ptr<HeldFolder> inner, SwappingFiles& files, int level) : inner(std::move(inner)), files(files), level(level) {}
        std::unique_ptr<HeldFolder> inner;
        SwappingFiles& files;
        int level;
        std::unique_ptr<HeldFolder> subfolder(std::string_view name, bool mustBeNew, bool& taken) override {
            return before(), files.wrap(inner->subfolder(name, mustBeNew, taken), level + 1);
        }
        bool createFile(std::string_view name, std::span<const std::byte> content) override { return before(), inner->createFile(name, content); }
        Lookup copyFile(std::string_view from, std::string_view name, std::uint64_t& id) override { return before(), inner->copyFile(from, name, id); }
        bool replaceFile(std::string_view name, std::span<const std::byte> content) override { return before(), inner->replaceFile(name, content); }
        bool restrictToAdministrators() override { return inner->restrictToAdministrators(); }
        void keep() override { inner->keep(); }
        void before() { files.swapped = files.swapped || (level == files.swapAt && test::SwapInLink(files.set, files.link)); }
    };
    std::unique_ptr<HeldFolder> wrap(std::unique_ptr<HeldFolder> inner, int level) {
        return inner ? std::make_unique<Held>(std::move(inner), *this, level) : nullptr;
    }
    std::unique_ptr<HeldFolder> holdFolder(std::string_view path) override { return wrap(Win32FileSystem::holdFolder(path), 0); }
};

// The bytes of every file below `folder`, links not followed.
std::uint64_t BytesBelow(const std::wstring& folder) {
    std::uint64_t bytes = 0;
    test::ForEachIn(folder, [&](const std::wstring& path, const WIN32_FIND_DATAW& d) {
        if (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return;
        bytes += d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? BytesBelow(path + L"\\") : (std::uint64_t(d.nFileSizeHigh) << 32) + d.nFileSizeLow;
    });
    return bytes;
}

// A start-page repair of the real platform with the backup through `files`, below `localAppData`.
bool RepairStartPage(FileSystem& files, const std::string& localAppData) {
    Win32Platform win32;
    CaseSystem system;
    system.localAppData = localAppData;
    Platform platform{files, win32.registry, win32.processes, system, win32.resources};
    ProgramState state;
    return win32.registry.writeText(kStartPage, "http://hijack.example/") && RunRepair(HijackRow::StartPage, state, platform);
}

}  // namespace
TEST(BackupOnWine, ALinkOrAFileAtAnyLevelOfTheBackupStopsTheRepairAndWhatALinkLeadsToStaysAsItWas) {
    const std::wstring privileged = L"C:\\cc-fixtures\\priv-backup\\";
    ASSERT_TRUE(test::MakePrivilegedTwin(privileged + L"keep.txt", "privileged")) << "run scripts/test-fixtures.sh";
    enum How { Planted, Swapped, AFile, Nothing };
    const wchar_t* const next = L"20261208-090507-IE首页修改-2";   // the backup's folder must be new: the next name
    struct Case { How how; int level; const wchar_t* savedAs; } const cases[] = {   // savedAs: the backup's folder when the repair goes on
        {Nothing, 1, kLevels[3].c_str()}, {Planted, 0, nullptr}, {Planted, 1, nullptr}, {Planted, 2, nullptr}, {Planted, 3, next},
        {Swapped, 0, nullptr}, {Swapped, 1, nullptr}, {Swapped, 2, nullptr}, {Swapped, 3, nullptr},
        {AFile, 1, nullptr}, {AFile, 2, nullptr}, {AFile, 3, next}};
    for (const Case& c : cases) {
        const wchar_t* kinds[] = {L"planted-", L"swapped-", L"file-", L"nothing-"};
        SwappingFiles files;
        files.set = L"T:\\backup\\" + std::wstring(kinds[c.how]) + std::to_wstring(c.level) + L"\\";
        files.swapAt = c.how == Swapped ? c.level : -1;
        std::wstring level = files.set + L"cur";
        CreateDirectoryW(files.set.c_str(), nullptr), CreateDirectoryW(level.c_str(), nullptr);
        for (int i = 0; i < c.level; ++i) CreateDirectoryW((level += L"\\" + kLevels[i]).c_str(), nullptr);
        for (int i = 0; i <= c.level; ++i) files.link += (i ? L"\\" : L"") + kLevels[i];
        if (c.how == AFile) ASSERT_TRUE(test::MakeFile(level + L"\\" + kLevels[c.level], "in the way"));
        const bool repaired = RepairStartPage(files, Narrow(files.set) + "cur\\base\\");   // the case's own local application data
        const std::wstring& what = files.set;   // names the case
        EXPECT_EQ(files.swapped, c.how == Swapped) << what;
        EXPECT_EQ(repaired, c.savedAs != nullptr) << what;
        EXPECT_EQ(Win32Registry().readText(kStartPage), repaired ? "about:blank" : "http://hijack.example/") << what;
        EXPECT_TRUE(test::IsUntouchedTwin(privileged + L"keep.txt", "privileged")) << what;
        EXPECT_EQ(BytesBelow(privileged), 10u) << what;   // keep.txt alone
        const std::wstring saved = files.set + L"cur\\base\\澄川清理助手\\备份\\" + (c.savedAs ? c.savedAs : L"") + L"\\";
        if (c.savedAs) {
            EXPECT_NE(test::ReadWholeFile(saved + L"undo.reg").find(std::string("h\0i\0j\0a\0c\0k\0", 12)), std::string::npos) << what;
            EXPECT_TRUE(test::Exists(saved + L"readme.txt")) << what;
            for (const wchar_t* file : {L"undo.reg", L"readme.txt"}) DeleteFileW((saved + file).c_str());
            RemoveDirectoryW(saved.c_str());
        } else EXPECT_EQ(BytesBelow(files.set), c.how == AFile ? 10u : 0u) << what;   // nothing written anywhere
        EXPECT_TRUE(!files.swapped || test::SwapBack(files.set)) << what;
    }
}

// Owner and access list of an open object, as SDDL ("?" when they cannot be read).
std::wstring Security(HANDLE object) {
    std::vector<std::uint64_t> descriptor(1024);
    DWORD size = 0;
    wchar_t* text = nullptr;
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    if (!GetKernelObjectSecurity(object, what, descriptor.data(), 8192, &size) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1, what, &text, nullptr))
        return L"?";
    const std::wstring sddl = text;
    return LocalFree(text), sddl;
}

// Local application data in a profile moved with a link (T:\moved\Users, scripts/test-fixtures.sh): the backup goes
// through it when the link is judged an administrator's, and stops there when it is not; the program's folders, its
// own one there already too, then get their access list before the backup is saved in them. Wine neither opens a
// link as itself nor keeps a file's owner or list (only Unix permissions that follow the list: without an entry for
// Everyone, others lose theirs), so a judge stands in for the owners and lists are read on an object Wine keeps whole.
TEST(BackupOnWine, ALinkAnAdministratorMadeIsFollowedAndTheProgramsFoldersAreTheAdministrators) {
    struct Judged final : Win32FileSystem, LinkTrust {
        bool administrators = false;
        std::wstring trustedTarget(HANDLE, std::wstring_view name) override { return administrators && name == L"Users" ? L"C:\\cc-fixtures\\moved-users" : L""; }
        LinkTrust& links() override { return *this; }
    };
    const std::wstring local = L"C:\\cc-fixtures\\moved-users\\me\\AppData\\Local\\", own = local + L"澄川清理助手",
                       saved = own + L"\\备份\\" + kLevels[3];
    auto open = [](const std::wstring& path) { return UniqueHfile(CreateFileW(path.c_str(), READ_CONTROL, 7, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)); };
    ASSERT_TRUE(SHCreateDirectoryExW(nullptr, own.c_str(), nullptr) == ERROR_SUCCESS);   // there already, the user's
    for (bool administrators : {false, true}) {
        Judged files;
        files.administrators = administrators;
        EXPECT_NE(Security(open(own).get()).find(L";;;WD)"), std::wstring::npos);   // not the administrators' yet
        EXPECT_EQ(RepairStartPage(files, "T:\\moved\\Users\\me\\AppData\\Local\\"), administrators);
        EXPECT_EQ(test::Exists(saved + L"\\undo.reg"), administrators);
    }
    for (const std::wstring& folder : {own, own + L"\\备份"}) EXPECT_EQ(Security(open(folder).get()).find(L";;;WD)"), std::wstring::npos);
    for (const std::wstring& made : {saved + L"\\undo.reg", saved + L"\\readme.txt", saved, own + L"\\备份", own})
        DeleteFileW(made.c_str()) || RemoveDirectoryW(made.c_str());
    // The list itself on an object Wine keeps it for, given to the process's user (a user's own SID), and the owners a link is judged by.
    UniqueHandle object(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    ASSERT_TRUE(RestrictToAdministrators(object.get()));
    const std::wstring list = Security(object.get()), user = list.substr(list.rfind(L";;;") + 3, list.size() - list.rfind(L";;;") - 4);
    EXPECT_EQ(list, L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FR;;;" + user + L")");
    EXPECT_TRUE(user.starts_with(L"S-1-5-21-") && OwnedByAdministrators(object.get()));
    PSECURITY_DESCRIPTOR owner = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW((L"O:" + user).c_str(), SDDL_REVISION_1, &owner, nullptr));
    EXPECT_TRUE(SetKernelObjectSecurity(object.get(), OWNER_SECURITY_INFORMATION, owner) && !OwnedByAdministrators(object.get()));
    LocalFree(owner);
}
