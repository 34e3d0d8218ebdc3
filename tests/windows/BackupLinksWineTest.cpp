// A repair's backup is written only where the program composed it, below folders only administrators can change:
// a link, a file or a user's folder in the place of one of the program's folders is passed by for the next name, a
// link at the base or swapped in after a level was checked stops the repair, and nothing is written anywhere else
// (the links: scripts/test-fixtures.sh). Wine keeps no owners: a judge stands in, the user's folders by number.
#include <gtest/gtest.h>

#include <sddl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <set>

#include "TestFiles.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/Win32Platform.h"
#include "repair/HijackValues.h"
#include "repair/Repairs.h"

using namespace cc;

namespace {

const std::wstring kUser = L"S-1-5-21-7-7-7-1001", kRow = L"20261208-090507-IE首页修改";
const wchar_t* const kProfileList = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const std::wstring kLevels[] = {L"base", L"澄川清理助手", L"备份", kUser, kRow};

struct CaseSystem final : Win32SystemQueries {   // at the time of kRow, for the user kUser
    std::string commonAppData;
    std::string QueryCommonAppData() override { return commonAppData; }
    std::string QueryUserSid() override { return Narrow(kUser); }
    LocalTime QueryLocalTime() override { return {2026, 12, 8, 9, 5, 7}; }
};

std::uint64_t FileNumber(const std::wstring& path) {
    UniqueHfile file(CreateFileW(path.c_str(), 0, 7, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(file.get(), &info) ? std::uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow : 0;
}

// Holds folders as the program does, judging the folders numbered in `users` the user's, and swaps the case's cur
// for its alt (whose `link` is a link) right before the first thing is made in the folder of level `swapAt`: after
// its check, before any write below it.
struct SwappingFiles final : Win32FileSystem {
    std::wstring set, link;
    int swapAt = -1;
    bool swapped = false;
    std::set<std::uint64_t> users;
    bool ownedByAdministrators(HANDLE folder) override {
        OpenedFile opened;
        return QueryIdentity(folder, opened) && !users.count(opened.id);
    }
    struct Held final : HeldFolder {
        Held(std::unique_ptr<HeldFolder> inner, SwappingFiles& files, int level) : inner(std::move(inner)), files(files), level(level) {}
        std::unique_ptr<HeldFolder> inner;
        SwappingFiles& files;
        int level;
        std::unique_ptr<HeldFolder> subfolder(std::string_view name, bool& taken) override {
            return before(), files.wrap(inner->subfolder(name, taken), level + 1);
        }
        std::unique_ptr<HeldFolder> administratorsFolder(std::string_view name, bool& taken) override {
            return before(), files.wrap(inner->administratorsFolder(name, taken), level + 1);
        }
        bool createFile(std::string_view name, std::span<const std::byte> content) override { return before(), inner->createFile(name, content); }
        Lookup copyFile(std::string_view from, std::string_view name, std::uint64_t& id) override { return before(), inner->copyFile(from, name, id); }
        bool replaceFile(std::string_view name, std::span<const std::byte> content) override { return before(), inner->replaceFile(name, content); }
        void keep() override { inner->keep(); }
        void before() { files.swapped = files.swapped || (level == files.swapAt && test::SwapInLink(files.set, files.link)); }
    };
    std::unique_ptr<HeldFolder> wrap(std::unique_ptr<HeldFolder> inner, int level) {
        return inner ? std::make_unique<Held>(std::move(inner), *this, level) : nullptr;
    }
    std::unique_ptr<HeldFolder> holdFolder(std::string_view path) override { return wrap(Win32FileSystem::holdFolder(path), 0); }
};

std::uint64_t BytesBelow(const std::wstring& folder) {
    std::uint64_t bytes = 0;
    test::ForEachIn(folder, [&](const std::wstring& path, const WIN32_FIND_DATAW& d) {
        if (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return;
        bytes += d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? BytesBelow(path + L"\\") : (std::uint64_t(d.nFileSizeHigh) << 32) + d.nFileSizeLow;
    });
    return bytes;
}

bool RepairStartPage(FileSystem& files, const std::string& commonAppData) {
    Win32Platform win32;
    CaseSystem system;
    system.commonAppData = commonAppData;
    Platform platform{files, win32.registry, win32.processes, system, win32.resources};
    ProgramState state;
    return win32.registry.writeText(kStartPage, "http://hijack.example/") && RunRepair(HijackRow::StartPage, state, platform);
}

}  // namespace
TEST(BackupOnWine, WhatIsNotTheProgramsOwnIsPassedByAndALinkAtTheBaseOrSwappedInStopsTheRepair) {
    const std::wstring privileged = L"C:\\cc-fixtures\\priv-backup\\";
    ASSERT_TRUE(test::MakePrivilegedTwin(privileged + L"keep.txt", "privileged")) << "run scripts/test-fixtures.sh";
    enum How { Planted, Swapped, AFile, Users, Renamed, Nothing };
    // Where the backup goes when the repair goes on: the level's name numbered, "(2)" for a program folder.
    const std::wstring own = L"澄川清理助手", next[] = {L"", own + L" (2)\\备份\\" + kUser + L"\\" + kRow,
        own + L"\\备份 (2)\\" + kUser + L"\\" + kRow, own + L"\\备份\\" + kUser + L" (2)\\" + kRow, own + L"\\备份\\" + kUser + L"\\" + kRow + L"-2"};
    struct Case { How how; int level; std::wstring savedAs; } const cases[] = {
        {Nothing, 1, own + L"\\备份\\" + kUser + L"\\" + kRow}, {Planted, 0, L""}, {Swapped, 0, L""}, {Renamed, 1, next[1]},
        {Planted, 1, next[1]}, {Planted, 2, next[2]}, {Planted, 3, next[3]}, {Planted, 4, next[4]},
        {Swapped, 1, L""}, {Swapped, 2, L""}, {Swapped, 3, L""}, {Swapped, 4, L""},
        {AFile, 1, next[1]}, {AFile, 2, next[2]}, {AFile, 3, next[3]}, {AFile, 4, next[4]},
        {Users, 1, next[1]}, {Users, 2, next[2]}, {Users, 3, next[3]}};
    for (const Case& c : cases) {
        const wchar_t* kinds[] = {L"planted-", L"swapped-", L"file-", L"users-", L"renamed-", L"nothing-"};
        SwappingFiles files;
        files.set = L"T:\\backup\\" + std::wstring(kinds[c.how]) + std::to_wstring(c.level) + L"\\";
        files.swapAt = c.how == Swapped ? c.level : -1;
        const std::string base = Narrow(files.set) + "cur\\base\\";   // the case's own application data
        std::wstring level = files.set + L"cur";
        CreateDirectoryW(files.set.c_str(), nullptr), CreateDirectoryW(level.c_str(), nullptr);
        for (int i = 0; i < c.level; ++i) CreateDirectoryW((level += L"\\" + kLevels[i]).c_str(), nullptr);
        for (int i = 0; i <= c.level; ++i) files.link += (i ? L"\\" : L"") + kLevels[i];
        level += L"\\" + kLevels[c.level];
        if (c.how == AFile) { ASSERT_TRUE(test::MakeFile(level, "in the way")); }
        // A folder of the user's in the level's place, holding the rest of the way; for Renamed, put there once the
        // program's own folder, holding the first backup, was renamed away.
        if (c.how == Renamed) { ASSERT_TRUE(RepairStartPage(files, base) && MoveFileW(level.c_str(), (level + L" old").c_str())); }
        if (c.how == Users || c.how == Renamed) {
            SHCreateDirectoryExW(nullptr, (files.set + L"cur\\base\\" + own + L"\\备份\\" + kUser).c_str(), nullptr);
            files.users.insert(FileNumber(level));
        }
        const std::uint64_t bytesBefore = BytesBelow(files.set);
        const bool repaired = RepairStartPage(files, base);
        const std::wstring& what = files.set;   // names the case
        EXPECT_EQ(files.swapped, c.how == Swapped) << what;
        EXPECT_EQ(repaired, !c.savedAs.empty()) << what;
        EXPECT_EQ(Win32Registry().readText(kStartPage), repaired ? "about:blank" : "http://hijack.example/") << what;
        EXPECT_TRUE(test::IsUntouchedTwin(privileged + L"keep.txt", "privileged")) << what;
        EXPECT_EQ(BytesBelow(privileged), 10u) << what;   // keep.txt alone
        const std::wstring saved = files.set + L"cur\\base\\" + c.savedAs + L"\\";
        if (repaired) {
            EXPECT_NE(test::ReadWholeFile(saved + L"undo.reg").find(std::string("h\0i\0j\0a\0c\0k\0", 12)), std::string::npos) << what;
            for (const wchar_t* file : {L"undo.reg", L"readme.txt"}) DeleteFileW((saved + file).c_str());
            RemoveDirectoryW(saved.c_str());
        }
        EXPECT_EQ(BytesBelow(files.set), bytesBefore) << what;   // nothing written anywhere else
        EXPECT_TRUE(!files.swapped || test::SwapBack(files.set)) << what;
        const std::wstring renamed = level + L" old" + L'\0';   // goes, so that the case can run again
        SHFILEOPSTRUCTW remove{nullptr, FO_DELETE, renamed.c_str(), nullptr, FOF_NO_UI};
        EXPECT_TRUE(c.how != Renamed || SHFileOperationW(&remove) == 0) << what;
    }
}

// Owner and access list of an open object, as SDDL (empty when they cannot be read).
std::wstring Security(HANDLE object) {
    std::vector<std::uint64_t> descriptor(1024);
    DWORD size = 0;
    wchar_t* text = nullptr;
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    if (!GetKernelObjectSecurity(object, what, descriptor.data(), 8192, &size) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1, what, &text, nullptr))
        return L"";
    const std::wstring sddl = text;
    return LocalFree(text), sddl;
}

// The machine's application data in profiles moved with a link (T:\moved\Users, scripts/test-fixtures.sh): the
// backup goes through it when the link is judged an administrator's, and stops there when it is not. The program's
// folders get their access list as they are made. Wine keeps no file's owner or list, only the Unix permissions that
// follow the list a folder is made with (without an entry for Everyone, others lose theirs), so the list itself is
// read on an object Wine keeps whole.
TEST(BackupOnWine, ALinkAnAdministratorMadeIsFollowedAndTheProgramsFoldersAreMadeTheAdministrators) {
    struct Judged final : Win32FileSystem, LinkTrust {
        bool administrators = false;
        std::wstring trustedTarget(HANDLE, std::wstring_view name) override { return administrators && name == L"Users" ? L"C:\\cc-fixtures\\moved-users" : L""; }
        LinkTrust& links() override { return *this; }
    };
    const std::wstring data = L"C:\\cc-fixtures\\moved-users\\All Users\\Application Data\\", own = data + L"澄川清理助手",
                       saved = own + L"\\备份\\" + kUser + L"\\" + kRow;
    auto open = [](const std::wstring& path) { return UniqueHfile(CreateFileW(path.c_str(), READ_CONTROL, 7, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)); };
    SHCreateDirectoryExW(nullptr, data.c_str(), nullptr);
    EXPECT_NE(Security(open(data).get()).find(L";;;WD)"), std::wstring::npos);   // a folder made without the list
    for (bool administrators : {false, true}) {
        Judged files;
        files.administrators = administrators;
        EXPECT_EQ(RepairStartPage(files, "T:\\moved\\Users\\All Users\\Application Data\\"), administrators);
        EXPECT_EQ(test::Exists(saved + L"\\undo.reg"), administrators);
    }
    for (const std::wstring& folder : {own, own + L"\\备份", own + L"\\备份\\" + kUser}) {
        const UniqueHfile held = open(folder);
        const std::wstring list = held ? Security(held.get()) : L"";   // not the process's own (INVALID_HANDLE_VALUE)
        EXPECT_TRUE(list.find(L"D:") != std::wstring::npos && list.find(L";;;WD)") == std::wstring::npos) << folder << ": " << list;
    }
    for (const std::wstring& made : {saved + L"\\undo.reg", saved + L"\\readme.txt", saved, own + L"\\备份\\" + kUser, own + L"\\备份", own})
        DeleteFileW(made.c_str()) || RemoveDirectoryW(made.c_str());
    // The list itself, on an object made with it, given to the process's user (a user's own SID), and the owners a
    // folder is judged by.
    const UniqueLocalMemory security = AdministratorsFolderSecurity();
    SECURITY_ATTRIBUTES attributes{sizeof attributes, security.get(), FALSE};
    UniqueHandle object(CreateEventW(&attributes, FALSE, FALSE, nullptr));
    const std::wstring list = Security(object.get()), user = list.substr(list.rfind(L";;;") + 3, list.size() - list.rfind(L";;;") - 4);
    EXPECT_EQ(list, L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FR;;;" + user + L")");
    EXPECT_TRUE(user == UserSid() && user.starts_with(L"S-1-5-21-") && OwnedByAdministrators(object.get()));
    PSECURITY_DESCRIPTOR owner = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW((L"O:" + user).c_str(), SDDL_REVISION_1, &owner, nullptr));
    EXPECT_TRUE(SetKernelObjectSecurity(object.get(), OWNER_SECURITY_INFORMATION, owner) && !OwnedByAdministrators(object.get()));
    LocalFree(owner);
}

// Trusted links in a row, each leading through the next (T:\loop is T:\ again), are followed eight deep, never nine.
TEST(BackupOnWine, TrustedLinksAreFollowedAtMostEightInARow) {
    struct Counting final : Win32FileSystem, LinkTrust {
        int more = 0;   // targets still to lead through another link
        std::wstring trustedTarget(HANDLE, std::wstring_view name) override { return name != L"loop" ? L"" : more-- > 0 ? L"T:\\loop\\" : L"T:\\"; }
        LinkTrust& links() override { return *this; }
    };
    for (int inARow : {8, 9}) {
        Counting files;
        files.more = inARow - 1;
        EXPECT_EQ(files.holdFolder("T:\\loop\\") != nullptr, inARow <= 8) << inARow;
    }
}

// The machine's application data is what HKLM's list of profiles names, ProgramData or (XP, Server 2003) the All
// Users profile's Application Data, with only the system's own variables put in: never the process's environment,
// which the user steers.
TEST(BackupOnWine, TheMachinesApplicationDataIsWhatHklmNamesWithOnlyTheSystemsOwnVariables) {
    struct Saved {   // a value of the list, put back as it was
        const wchar_t* name;
        DWORD type = 0, bytes = 4096;
        std::vector<BYTE> data = std::vector<BYTE>(4096);
        LONG read = RegGetValueW(HKEY_LOCAL_MACHINE, kProfileList, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &bytes);
        ~Saved() {
            if (read) SHDeleteValueW(HKEY_LOCAL_MACHINE, kProfileList, name);
            else test::SetRegistryValue(HKEY_LOCAL_MACHINE, kProfileList, name, type, data.data(), bytes);
        }
    } const saved[] = {{L"ProgramData"}, {L"ProfilesDirectory"}, {L"AllUsersProfile"}};
    ASSERT_EQ(saved[0].read, ERROR_SUCCESS);
    wchar_t drive[8], root[MAX_PATH];   // the process's own, which the user can set: changed meanwhile
    ASSERT_TRUE(GetEnvironmentVariableW(L"SystemDrive", drive, 8) && GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH));
    SetEnvironmentVariableW(L"SystemDrive", L"T:"), SetEnvironmentVariableW(L"SystemRoot", L"T:\\Windows");
    auto set = [](const wchar_t* name, const wchar_t* text) {
        if (!text) return SHDeleteValueW(HKEY_LOCAL_MACHINE, kProfileList, name), true;
        return test::SetRegistryValue(HKEY_LOCAL_MACHINE, kProfileList, name, REG_EXPAND_SZ, text, DWORD(wcslen(text) + 1) * 2);
    };
    const std::tuple<const wchar_t*, const wchar_t*, std::string> cases[] = {   // ProgramData, ProfilesDirectory; the folder
        {L"%SystemDrive%\\ProgramData", nullptr, "C:\\ProgramData\\"}, {L"%SYSTEMROOT%\\data\\", nullptr, "C:\\windows\\data\\"},
        {L"%USERPROFILE%\\data", nullptr, ""}, {L"%SystemDrive%\\data%", nullptr, ""}, {L"%%\\data", nullptr, ""},
        {nullptr, L"%SystemDrive%\\Documents and Settings", "C:\\Documents and Settings\\All Users\\Application Data\\"}};
    Win32SystemQueries system;
    for (const auto& [programData, profiles, folder] : cases) {
        ASSERT_TRUE(set(L"ProgramData", programData) && set(L"ProfilesDirectory", profiles) && set(L"AllUsersProfile", L"All Users"));
        EXPECT_EQ(system.QueryCommonAppData(), folder) << Narrow(programData ? programData : profiles);
    }
    SetEnvironmentVariableW(L"SystemDrive", drive), SetEnvironmentVariableW(L"SystemRoot", root);
}
