// Known folders found from folder descriptions and redirections, on the in-memory registry.
#include "fakes/FakePlatform.h"
#include "platform/KnownFolders.h"
#include "platform/UserProfile.h"
using namespace cc;

namespace {
const std::string kShellFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::string kProfile = "{5E6C858F-0E22-4760-9AFE-EA3317B67173}", kDownloads = "{374DE290-123F-4565-9164-39C4925E467B}",
                  kDocuments = "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", kWindows = "{F38BF404-1D43-42F2-9305-67DE0B28FC23}",
                  kSystemX86 = "{D65231B0-B2F1-4857-A4CE-A8E7C6EA7D27}", kProgramFilesX86 = "{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}";
std::string Made(const char* last) { return "{00000000-0000-0000-0000-0000000000" + std::string(last) + "}"; }   // a made-up GUID
struct KnownFoldersTest : ::testing::Test {
    fake::FakeRegistry registry;
    KnownFolderSources sources{&registry, [](std::string_view text) {
        std::string out(text);
        if (auto at = out.find("%USERPROFILE%"); at != std::string::npos) out.replace(at, 13, "C:\\Users\\me");
        return out;
    }, "C:\\Windows", "C:\\Windows\\System32", ""};
    void describe(const std::string& guid, std::uint32_t category, const std::string& name = "",
                  const std::string& parent = "", const std::string& relative = "") {
        const std::string key = std::string(kFolderDescriptions) + "\\" + guid;
        registry.setData({RegistryRoot::LocalMachine, key, "Category"}, {4, {std::uint8_t(category), 0, 0, 0}});
        for (auto [value, text] : {std::pair{"Name", name}, {"ParentFolder", parent}, {"RelativePath", relative}})
            if (!text.empty()) registry.setText({RegistryRoot::LocalMachine, key, value}, text);
    }
};

TEST_F(KnownFoldersTest, AFolderIsWhereItIsRedirectedElseBelowItsParentAndNothingElseGivesAPath) {
    describe(kProfile, 2), describe(kWindows, 2), describe(kSystemX86, 2), describe(kProgramFilesX86, 2);
    describe(kDownloads, 4, "Downloads", kProfile, "Downloads"), describe(kDocuments, 4, "Personal", kProfile, "Documents");
    describe(Made("0C"), 3, "CommonThing", kProfile, "Common"), describe(Made("0D"), 4, "Deep", kDocuments, "Sub\\Deeper");
    describe(Made("0E"), 4, "OnRoot", Made("0F"), "Sub"), describe(Made("0F"), 4, "Root");
    describe(Made("A1"), 4, "", Made("A2"), "a"), describe(Made("A2"), 4, "", Made("A1"), "b");
    describe(Made("B1"), 1, "Virtual", kProfile, "v"), describe(Made("B2"), 4, "Odd", "..\\..\\x", "y");
    describe(Made("B3"), 4, "NoPath", kProfile), describe(Made("C1"), 4, "", kProfile, "c"), describe(Made("B4"), 4, "", kProfile, "b");
    describe(Made("0G"), 3, "Public");
    describe("{0762D272-C50A-4BB0-A382-697DCD729B80}", 2);
    registry.setText({RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
                      "ProfilesDirectory"}, "%USERPROFILE%\\..");
    const std::string wrong = std::string(kFolderDescriptions) + "\\{00000000-0000-0000-0000-0000000000B";
    registry.setData({RegistryRoot::LocalMachine, wrong + "4}", "Category"}, {1, {4, 0, 0, 0}});   // a per-user folder's number as text
    registry.setData({RegistryRoot::LocalMachine, wrong + "5}", "Category"}, {4, {4, 0}});   // a number too short
    registry.setText({RegistryRoot::CurrentUser, kShellFolders, ""}, "Z:\\the key's default value");
    registry.setText({RegistryRoot::CurrentUser, kShellFolders, "Personal"}, "%USERPROFILE%\\My Documents");
    registry.setText({RegistryRoot::CurrentUser, kShellFolders, "Root"}, "E:\\");
    registry.setText({RegistryRoot::CurrentUser, kShellFolders, "CommonThing"}, "X:\\per-user, not read");
    registry.setText({RegistryRoot::LocalMachine, kShellFolders, "CommonThing"}, "D:\\Shared");
    registry.setText({RegistryRoot::LocalMachine, kShellFolders, "Public"}, "%USERPROFILE%\\..\\Public");
    const struct { const char* why; std::string guid; std::optional<std::string> path; } cases[] = {
        {"fixed, from the environment", kProfile, "C:\\Users\\me"},
        {"fixed, the system's folder", kWindows, "C:\\Windows"},
        {"fixed, where profiles are made", "{0762D272-C50A-4BB0-A382-697DCD729B80}", "C:\\Users\\me\\.."},
        {"fixed, a folder the system lacks", kSystemX86, std::nullopt},
        {"fixed, a variable that is not set", kProgramFilesX86, std::nullopt},
        {"per-user, below its parent", kDownloads, "C:\\Users\\me\\Downloads"},
        {"per-user, redirected by its older name", kDocuments, "C:\\Users\\me\\My Documents"},
        {"common, redirected in HKLM only", Made("0C"), "D:\\Shared"},
        {"common, redirected to a variable", Made("0G"), "C:\\Users\\me\\..\\Public"},
        {"below a redirected parent", Made("0D"), "C:\\Users\\me\\My Documents\\Sub\\Deeper"},
        {"below a drive's root", Made("0E"), "E:\\Sub"},
        {"parents in a loop", Made("A1"), std::nullopt},
        {"virtual", Made("B1"), std::nullopt},
        {"a parent that is no GUID", Made("B2"), std::nullopt},
        {"no redirection and no relative path", Made("B3"), std::nullopt},
        {"a category of the wrong type", Made("B4"), std::nullopt},
        {"a category of the wrong size", Made("B5"), std::nullopt},
        {"no name: no redirection by name", Made("C1"), "C:\\Users\\me\\c"},
        {"not described", Made("FF"), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(KnownFolderPath(c.guid, sources), c.path) << c.why;
    // Redirected by its GUID, which comes before its name; a special folder goes through its known folder.
    registry.setText({RegistryRoot::CurrentUser, kShellFolders, kDocuments}, "F:\\Docs");
    EXPECT_EQ(KnownFolderPath(KnownFolderOfCsidl(0x05), sources), "F:\\Docs");
    // For a link outside the user's profile only the machine's own places count: no HKCU redirection, no variable.
    KnownFolderSources machine = sources;
    machine.expand = nullptr;
    const std::pair<std::string, std::optional<std::string>> elsewhere[] = {
        {kDocuments, std::nullopt}, {kProfile, std::nullopt}, {kWindows, "C:\\Windows"}, {Made("0C"), "D:\\Shared"},
        {Made("0G"), std::nullopt}};
    for (const auto& [guid, path] : elsewhere) EXPECT_EQ(KnownFolderPath(guid, machine), path) << guid;
    EXPECT_EQ(GuidText({0x04, 0xF4, 0x8B, 0xF3, 0x43, 0x1D, 0xF2, 0x42, 0x93, 0x05, 0x67, 0xDE, 0x0B, 0x28, 0xFC, 0x23}), kWindows);
}
}  // namespace

// The profile as ProfileList records it, never through the environment; a path inside it, by whole names.
TEST_F(KnownFoldersTest, TheUsersProfileIsWhereTheSystemRecordsIt) {
    const std::string list = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
    const struct { const char* sid; const char* recorded; std::string profile; } profiles[] = {
        {"S-1", "%SystemDrive%\\Users\\me", "C:\\Users\\me"}, {"S-2", "%systemroot%\\Profiles\\x", "C:\\Windows\\Profiles\\x"},
        {"S-3", "E:\\Home\\me", "E:\\Home\\me"}, {"S-4", "%SystemDrive%\\Users\\%USERNAME%", ""}, {"S-5", "Users\\me", ""}, {"S-6", nullptr, ""},
    };
    for (const auto& p : profiles) {
        if (p.recorded) registry.setText({RegistryRoot::LocalMachine, list + p.sid, "ProfileImagePath"}, p.recorded);
        EXPECT_EQ(RecordedProfile(registry, p.sid, "C:\\Windows"), p.profile) << p.sid;
    }
    const struct { const char* path; const char* folder; bool inside; } paths[] = {
        {"C:\\Users\\me\\Desktop\\a.lnk", "C:\\Users\\me", true}, {"c:\\USERS\\ME\\a.lnk", "C:\\Users\\me\\", true},
        {"C:\\Users\\meadow\\a.lnk", "C:\\Users\\me", false}, {"C:\\Users\\Public\\Desktop\\a.lnk", "C:\\Users\\me", false},
        {"C:\\Users\\me", "C:\\Users\\me", false}, {"C:\\a.lnk", "", false},
    };
    for (const auto& p : paths) EXPECT_EQ(InsideFolder(p.path, p.folder), p.inside) << p.path << " in " << p.folder;
}
