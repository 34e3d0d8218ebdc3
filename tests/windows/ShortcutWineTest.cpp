// Real shortcut files made with IShellLinkW, read back through the file system layer, and judged as the
// invalid-shortcut scan judges them; the program's own reader held against the shell's reading of the same bytes.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "../host/LinkBytes.h"
#include "TestFiles.h"
#include "platform/win32/Win32FileSystem.h"
#include "shortcuts/ShortcutScan.h"

using namespace cc;
using namespace cc::test;
using Kind = ShortcutTarget::Kind;

namespace {

ShortcutTarget ShellReading(const std::string& bytes) {   // the target as the shell's link object reads these bytes
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistStream> persist;
    ComPtr<IStream> stream;
    ComPtr<IShellLinkDataList> data;
    *stream.put() = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), UINT(bytes.size()));
    if (!stream || FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistStream, persist.putVoid())) || FAILED(persist->Load(stream.get())))
        return {};
    DWORD flags = 0;
    if (SUCCEEDED(link->QueryInterface(IID_IShellLinkDataList, data.putVoid())) && SUCCEEDED(data->GetFlags(&flags)) &&
        (flags & SLDF_HAS_DARWINID))
        return {Kind::Elsewhere, ""};   // advertised
    std::wstring path(32768, L'\0'), full(32768, L'\0');
    if (link->GetPath(path.data(), int(path.size()), nullptr, 0) == S_OK && path[0]) {
        DWORD length = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
        length -= length > 3 && length < full.size() && full[length - 1] == L'\\';   // Wine ends a root item's folder in "\"
        return {Kind::Path, Narrow(length == 0 || length >= full.size() ? path.c_str() : std::wstring_view(full.data(), length))};
    }
    PIDLIST_ABSOLUTE items = nullptr;
    if (link->GetIDList(&items) == S_OK && items) return CoTaskMemFree(items), ShortcutTarget{Kind::Elsewhere, ""};
    return {};
}

}  // namespace
struct ShortcutOnWine : ::testing::Test {
    const ComApartment com;   // first: it ends after every member
    // What the shell saves for a path target, or a shell item (an ordinary name: it saves only short, ordinary paths).
    std::string saved(const std::string& target, PCIDLIST_ABSOLUTE items = nullptr) {
        const std::wstring ordinary = Widen(temp.path()) + L"saving.lnk";
        return SaveShortcut(ordinary, Widen(target), items) ? ReadWholeFile(ordinary) : "";
    }
    ShortcutTarget read(const std::string& name) { return files.readShortcut(temp.path() + name); }
    // Our reading of the file against the shell's of its bytes: the same, or Elsewhere where the shell would bind a shell
    // folder, or any where Wine's load fails on a part that breaks off after the item list (the shell gives nothing).
    ShortcutTarget expectAgreement(const std::string& name, const std::string& bytes, const char* why = "") {
        EXPECT_TRUE(MakeFile(LongPath(temp.path() + name), bytes)) << name;
        const ShortcutTarget ours = read(name), shell = ShellReading(bytes);
        readable += shell.kind != Kind::Unreadable;
        // Wine names a file by its code-page name ("?" for what the code page lacks) and keeps the
        // letter case it was given; Windows, and the reader, take the long Unicode name.
        if ((ours.kind == Kind::Elsewhere && shell.kind == Kind::Path) || shell.path.find('?') != std::string::npos ||
            shell.kind == Kind::Unreadable)
            return ours;
        ++compared;
        EXPECT_EQ(std::pair(ours.kind, Upper(ours.path)), std::pair(shell.kind, Upper(shell.path))) << name << " " << why;
        return ours;
    }
    TempFolder temp;
    Win32FileSystem files;
    int compared = 0, readable = 0;   // readings compared, and those the shell could give
};

TEST_F(ShortcutOnWine, ReadsExactlyTheListedFileAndJudgesEachKindOfShortcut) {
    std::string dir = temp.path(), deep = dir, gone = dir + "gone.exe";
    for (char c = 'k'; c < 't'; ++c) ASSERT_TRUE(CreateDirectoryW(LongPath(deep += std::string(30, c) + "\\").c_str(), nullptr));
    ASSERT_TRUE(MakeFile(LongPath(dir + "present.txt"), "here"));
    ASSERT_TRUE(CreateDirectoryW(LongPath(dir + "folder").c_str(), nullptr));
    PIDLIST_ABSOLUTE controls = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, &controls), S_OK);
    // Any program may write a LinkInfo holding the local path exactly as given, ".." and all.
    const Bytes relative = Link(0x02, {LocalInfo(dir + "folder\\..\\present.txt", "")});
    // Files of their own, never "present.lnk" or a device: a trailing dot, COM1, past MAX_PATH in Hangul.
    const std::string odd[] = {"present.lnk.", "COM1.lnk", deep.substr(dir.size()) + "\xED\x95\x9C\xEA\xB8\x80.lnk"};
    struct Case { std::string name, bytes; Kind kind; std::string path; bool working; } cases[] = {
        {"present.lnk", saved(dir + "present.txt"), Kind::Path, dir + "present.txt", true},
        {"folder.lnk", saved(dir + "folder"), Kind::Path, dir + "folder", true},
        {"relative.lnk", std::string(relative.begin(), relative.end()), Kind::Path, dir + "present.txt", true},
        {"corrupt.lnk", std::string(600, '\x8F'), Kind::Unreadable, "", true},   // no target: never listed
        {"panel.lnk", saved("", controls), Kind::Elsewhere, "", true}, {"no-such.lnk", "", Kind::Unreadable, "", true},
        {odd[0], saved(gone), Kind::Path, gone, false}, {odd[1], saved(gone), Kind::Path, gone, false}, {odd[2], saved(gone), Kind::Path, gone, false}};
    CoTaskMemFree(controls);
    for (const Case& c : cases) {
        if (c.name != "no-such.lnk") { ASSERT_TRUE(!c.bytes.empty() && MakeFile(LongPath(dir + c.name), c.bytes)) << c.name; }
        EXPECT_EQ(std::pair(read(c.name).kind, read(c.name).path), std::pair(c.kind, c.path)) << c.name;
        EXPECT_EQ(IsWorkingShortcut(files, dir + c.name, files.drives(true)), c.working) << c.name;
    }
    // Held open by another program without sharing: not judged, so never listed.
    UniqueHfile held(CreateFileW(LongPath(dir + "COM1.lnk").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(read("COM1.lnk").kind, Kind::NotJudged);
    EXPECT_TRUE(IsWorkingShortcut(files, dir + "COM1.lnk", files.drives(true)));
}

// Shortcuts the shell saves (to files and folders there or gone, by path or item list) and variations of their bytes:
// our reader gives what the shell gives for every one.
TEST_F(ShortcutOnWine, OurReaderAgreesWithTheShellOnSavedAndVariedShortcuts) {
    const std::string dir = temp.path();
    ASSERT_TRUE(CreateDirectoryW(LongPath(dir + "有 空格").c_str(), nullptr));
    ASSERT_TRUE(MakeFile(LongPath(dir + "有 空格\\long name.text"), "x"));
    ASSERT_TRUE(MakeFile(LongPath(dir + "A.TXT"), "x"));
    // No target with "..": Wine saves it in the item list as the name of the folder it leads to, a
    // list naming another path than its LinkInfo (relative.lnk above holds "..").
    std::vector<std::string> targets = {dir + "有 空格\\long name.text", dir + "有 空格", dir + "A.TXT", dir + "a.txt.", dir + "gone\\x.exe",
                                        "C:\\", "T:\\", "T:\\sub", "T:\\gone.exe", "C:\\nowhere\\x.exe", "C:\\windows\\system32\\notepad.exe",
                                        "C:\\windows", dir + "한글.lnk", "C:\\Program Files\\x y\\z.exe", "c:\\windows\\NOTEPAD.EXE"};
    for (const int csidl : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_APPDATA, CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_PROGRAM_FILES}) {
        wchar_t path[MAX_PATH]{};
        if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK) targets.push_back(Narrow(path) + "\\gone.txt");
    }
    std::vector<std::string> links;
    for (const std::string& target : targets) links.push_back(saved(target));
    for (const int csidl : {CSIDL_CONTROLS, CSIDL_DRIVES, CSIDL_PRINTERS, CSIDL_BITBUCKET, CSIDL_DESKTOP, CSIDL_PERSONAL, CSIDL_WINDOWS,
                            CSIDL_FONTS, CSIDL_NETWORK, CSIDL_SYSTEM}) {
        PIDLIST_ABSOLUTE items = nullptr;
        if (SHGetSpecialFolderLocation(nullptr, csidl, &items) == S_OK) links.push_back(saved("", items)), CoTaskMemFree(items);
    }
    int n = 0;
    auto name = [&n] { return "v" + std::to_string(n++) + ".lnk"; };
    for (const std::string& link : links) {
        ASSERT_FALSE(link.empty()) << n;
        const ShortcutTarget whole = expectAgreement(name(), link, "as saved");
        // ForceNoLinkInfo, HasExpString, RunAsUser. Not HasDarwinID without its block: Wine's load fails
        // there, and the reader calls it advertised, never offered for deletion (ShellLink.cpp says why).
        for (std::uint8_t bit : {0x01, 0x02, 0x20})
            expectAgreement(name(), std::string(link).replace(21, 1, 1, char(link[21] | bit)), "a flag set");
        // A copy cut short names what the whole does, or nothing where the cut is inside the item list.
        for (std::size_t cut : {std::size_t(0x4C), link.size() / 2, link.size() - 4, link.size() - 1}) {
            const ShortcutTarget part = expectAgreement(name(), link.substr(0, cut), "cut");
            EXPECT_TRUE(part.kind == Kind::Unreadable || std::tie(part.kind, part.path) == std::tie(whole.kind, whole.path)) << n;
        }
    }
    // Links any program may write (LinkInfo alone, strings, blocks) are the corpus's: ReadsTheCorpusAsTheShellDoes.
    EXPECT_GT(n, 200);
    EXPECT_GT(readable, n / 3);
    EXPECT_GT(compared, readable * 4 / 5) << readable;   // most the shell reads are compared: the shell and the reader name the same kind
}

// The corpus of the host tests (tests/host/LinkCorpus.tsv, laid in the prefix by scripts/test-fixtures.sh): our
// reading of each file is the shell's GetPath, or the table's last column says why Wine reads it otherwise. Each is
// read as a shortcut of the user's own (a copy in the temporary folder, inside the profile), as the shell reads it.
TEST_F(ShortcutOnWine, ReadsTheCorpusAsTheShellDoes) {
    const std::string dir = "C:\\cc-fixtures\\links\\";
    const auto rows = CorpusRows(ReadWholeFile(Widen(dir + "LinkCorpus.tsv")));
    for (const std::vector<std::string>& f : rows) {
        const std::string bytes = ReadWholeFile(Widen(dir + f[0]));
        ASSERT_TRUE(MakeFile(LongPath(temp.path() + f[0]), bytes)) << f[0];
        const ShortcutTarget ours = read(f[0]), shell = ShellReading(bytes);
        const bool same = std::pair(ours.kind, Upper(ours.path)) == std::pair(shell.kind, Upper(shell.path));
        EXPECT_EQ(same, f[4] == "-") << f[0] << ": ours " << ours.path << ", the shell's " << shell.path << "; the table: " << f[4];
    }
    EXPECT_GE(rows.size(), 40u);
}

// A variable the user set leads a shortcut in their own profile (the temporary folder is in it), and nothing in
// ProgramData: there the target that names it is not judged, so the shortcut is never listed.
TEST_F(ShortcutOnWine, TheUsersEnvironmentLeadsOnlyShortcutsInTheirOwnProfile) {
    wchar_t common[MAX_PATH]{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common), S_OK);
    const TempFolder shared(Narrow(common) + "\\");
    const std::string steered = temp.path() + "steered";
    const Bytes link = Link(0x200, {TextBlock(kEnvironmentBlock, "", u"%CC_STEERED%\\x.exe")});   // HasExpString
    ASSERT_TRUE(SetEnvironmentVariableW(L"CC_STEERED", Widen(steered).c_str()));
    const struct { std::string folder; Kind kind; std::string path; bool working; } cases[] = {
        {temp.path(), Kind::Path, steered + "\\x.exe", false}, {shared.path(), Kind::NotJudged, "", true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(MakeFile(LongPath(c.folder + "steered.lnk"), std::string(link.begin(), link.end())));
        const ShortcutTarget target = files.readShortcut(c.folder + "steered.lnk");
        EXPECT_EQ(std::tie(target.kind, target.path), std::tie(c.kind, c.path)) << c.folder;
        EXPECT_EQ(IsWorkingShortcut(files, c.folder + "steered.lnk", files.drives(true)), c.working) << c.folder;
    }
    SetEnvironmentVariableW(L"CC_STEERED", nullptr);
}
