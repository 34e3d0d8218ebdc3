// The shortcut reader on link files built byte by byte: each flag and block it reads, Unicode and code-page strings,
// fields cut short or too long (no read past the end, and the same for a copy cut after the last byte used: ShellLinkFuzz).
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <set>
#include "LinkBytes.h"
#include "platform/KnownFolders.h"
#include "formats/ShellLink.h"
using namespace cc;
using namespace cc::test;
using Kind = ShortcutTarget::Kind;

namespace {
const Bytes kDocumentsGuid{0xD0, 0x9A, 0xD3, 0xFD, 0x8F, 0x23, 0xAF, 0x46, 0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7};

// The code page as Latin-1, one variable, Documents moved to E:\Docs (known) and D:\Docs (special).
const ShellLinkServices kServices{
    [](std::string_view ansi) {
        std::string utf8;
        for (unsigned char c : ansi) c < 0x80 ? utf8 += char(c) : (utf8 += char(0xC0 | c >> 6), utf8 += char(0x80 | (c & 0x3F)));
        return utf8;
    },
    [](std::string_view text) { std::string s(text); return s.find("%HOME%") ? s : s.replace(0, 6, "C:\\Users\\me"); },
    [](const ShellFolderId& f) -> std::optional<std::string> {   // a root item through the system's table of shell folders
        const std::string guid = f.rootItem ? KnownFolderOfShellFolder(GuidText(f.guid)).known : f.known ? GuidText(f.guid) : "";
        if (guid == "{5E6C858F-0E22-4760-9AFE-EA3317B67173}") return "C:\\Users\\me";
        if (guid == "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}") return "E:\\Docs";
        return !f.known && f.csidl == 5 ? "D:\\Docs\\" : std::optional<std::string>();
    }};
// Outside the user's own profile no environment is trusted.
const ShellLinkServices kMachine{kServices.ansiToUtf8, nullptr, kServices.folderPath};
Bytes Cut(Bytes b, std::size_t size) { return b.resize(size), b; }
Bytes With(Bytes b, std::size_t at, std::uint8_t value) { return b.at(at) = value, b; }
Bytes With32(Bytes b, std::size_t at, std::uint32_t value) {   // little-endian, as the format stores it
    for (int i = 0; i < 4; ++i) b.at(at + i) = std::uint8_t(value >> 8 * i);
    return b;
}
enum : std::uint32_t { IdListFlag = 0x1, InfoFlag = 0x2, NameFlag = 0x4, RelativeFlag = 0x8, ArgumentsFlag = 0x20, UnicodeFlag = 0x80,
                       NoInfoFlag = 0x100, ExpFlag = 0x200, DarwinFlag = 0x1000, NoKnownFolderFlag = 0x200000 };
const Bytes kRoot = ClsidItem(kMyComputer), kC = DriveItem("C:\\");
const Bytes kFileList = IdList({kRoot, kC, FileItem(u"Users", 9, 0x31), FileItem(u"me", 9, 0x31),
                                FileItem(u"Documents", 9, 0x31), FileItem(u"报告.txt")});
const std::uint32_t kDocumentsChild = 0x14 + 25 + FileItem(u"Users").size() + FileItem(u"me").size() + FileItem(u"Documents").size();
}  // namespace

TEST(ShellLinkReader, GivesTheTargetTheShellGivesForEachKindOfLink) {
    const Bytes info = LocalInfo("C:\\Old", "\\a.txt");
    const Bytes env = TextBlock(kEnvironmentBlock, "%HOME%\\ansi", u"%HOME%\\wide");
    const Bytes steered = Link(ExpFlag | InfoFlag, {info, TextBlock(kEnvironmentBlock, "", u"%HOME%\\x.exe")});
    const Bytes fixed = Link(ExpFlag | InfoFlag, {info, TextBlock(kEnvironmentBlock, "", u"D:\\x.exe")});
    const struct { const char* what; Bytes bytes; Kind kind; std::string path; bool machine = false; } cases[] = {
        // The item list: a plain file-system list is a path, anything else is elsewhere.
        {"files by their long names", Link(IdListFlag, {kFileList}), Kind::Path, "C:\\Users\\me\\Documents\\报告.txt"},
        {"extension block versions 3, 7, 8", Link(IdListFlag, {IdList({kRoot, kC, FileItem(u"a", 3), FileItem(u"b", 7), FileItem(u"c", 8)})}), Kind::Path, "C:\\a\\b\\c"},
        {"the first drive letter", Link(IdListFlag, {IdList({kRoot, DriveItem("A:\\")})}), Kind::Path, "A:\\"},
        {"a name block on an item of another type", Link(IdListFlag, {IdList({kRoot, kC, FileItem(u"x", 9, 0x71)})}), Kind::Elsewhere, ""},
        {"LinkInfo of its header alone", Link(IdListFlag | InfoFlag, {IdList({kRoot, kC}), With(With(Bytes(0x1C, 0), 0, 0x1C), 4, 0x1C)}), Kind::Path, "C:\\"},
        {"a drive's bytes under a folder's type", Link(IdListFlag, {IdList({kRoot, With(kC, 2, 0x31)})}), Kind::Elsewhere, ""},
        {"the computer alone", Link(IdListFlag, {IdList({kRoot})}), Kind::Elsewhere, ""},
        {"the desktop (empty list)", Link(IdListFlag, {IdList({})}), Kind::Elsewhere, ""},
        {"the Control Panel", Link(IdListFlag, {IdList({ClsidItem(kControlPanel), FileItem(u"x")})}), Kind::Elsewhere, ""},
        {"a drive without the computer", Link(IdListFlag, {IdList({kC, FileItem(u"x")})}), Kind::Elsewhere, ""},
        {"a drive item not naming a root", Link(IdListFlag, {IdList({kRoot, DriveItem("C:x"), FileItem(u"x")})}), Kind::Elsewhere, ""},
        {"a file without extension block", Link(IdListFlag, {IdList({kRoot, kC, With(Cut(FileItem(u"x"), 16), 0, 16)})}), Kind::Path, "C:\\A"},
        {"an extension block of version 2", Link(IdListFlag, {IdList({kRoot, kC, FileItem(u"x", 2)})}), Kind::Path, "C:\\A"},
        {"a name that climbs", Link(IdListFlag, {IdList({kRoot, kC, FileItem(u"..")})}), Kind::Elsewhere, ""},
        {"a name with a separator", Link(IdListFlag, {IdList({kRoot, kC, FileItem(u"a\\..\\b")})}), Kind::Elsewhere, ""},
        {"another block signature", Link(IdListFlag, {IdList({kRoot, kC, With(FileItem(u"x"), 21, 0x7F)})}), Kind::Path, "C:\\A"},
        {"a block start past the item", Link(IdListFlag, {IdList({kRoot, kC, With(FileItem(u"x"), 67, 0x7F)})}), Kind::Path, "C:\\A"},
        {"a list whose item runs past it", Link(IdListFlag, {With(IdList({kRoot, kC}), 2, 0x40)}), Kind::Unreadable, ""},
        {"a list without terminal item", Link(IdListFlag, {With(Cut(IdList({kRoot, kC}), 2 + 0x14 + 25), 0, 0x14 + 25)}), Kind::Unreadable, ""},
        {"a list longer than the file", Link(IdListFlag, {With(IdList({kRoot}), 1, 0x10)}), Kind::Unreadable, ""},
        // LinkInfo: base and suffix in the code page or in Unicode, or a share.
        {"code page bytes", Link(InfoFlag, {LocalInfo("C:\\\xE9t\xE9", "")}), Kind::Path, "C:\\été"},
        {"a suffix and Unicode forms at offset 0: none", Link(InfoFlag, {With(With(With(LocalInfo("C:\\x", "", u"C:\\y"), 24, 0), 28, 0), 32, 0)}), Kind::Path, "C:\\x"},
        {"a base offset into LinkInfo's own header", Link(InfoFlag, {With(info, 16, 0x08)}), Kind::Unreadable, ""},
        {"a share offset into its own header", Link(InfoFlag, {With(NetworkInfo("\\\\srv\\share", "a"), 0x24, 0x08)}), Kind::Unreadable, ""},
        {"a share's Unicode offset into its own header", Link(InfoFlag, {With32(With(NetworkInfo("\\\\srv\\share", "a"), 0x24, 0x1C), 0x30, 0x14)}), Kind::Unreadable, ""},
        {"ForceNoLinkInfo", Link(InfoFlag | NoInfoFlag, {info}), Kind::Unreadable, ""},
        {"a base offset past LinkInfo", Link(InfoFlag, {With(info, 16, 0xF0)}), Kind::Unreadable, ""},
        {"a header size past LinkInfo", Link(InfoFlag, {With(info, 4, 0xF0)}), Kind::Unreadable, ""},
        {"LinkInfo longer than the file", Link(InfoFlag, {With(info, 1, 1)}), Kind::Unreadable, ""},
        // The strings: none names the target, each must be whole.
        {"Unicode strings, then LinkInfo", Link(InfoFlag | NameFlag | RelativeFlag | UnicodeFlag, {info, Text("name"), Text("..\\b")}), Kind::Path, "C:\\Old\\a.txt"},
        {"a string past the end", Link(InfoFlag | NameFlag | UnicodeFlag, {info, Text("name", false)}, false), Kind::Path, "C:\\Old\\a.txt"},
        // Extra data: the installer's flag, the environment, known and special folders.
        {"advertised, strings cut short", Link(DarwinFlag | NameFlag, {Cut(Text("nn", false), 3)}, false), Kind::Elsewhere, ""},
        {"environment in the code page only", Link(ExpFlag | InfoFlag, {info, TextBlock(kEnvironmentBlock, "%HOME%\\ansi", u"")}), Kind::Path, "C:\\Users\\me\\ansi"},
        {"environment without its flag", Link(IdListFlag | InfoFlag, {kFileList, info, env}), Kind::Path, "C:\\Users\\me\\Documents\\报告.txt"},
        {"environment after another block", Link(ExpFlag | InfoFlag, {info, FolderBlock(false, 99, 0), env}), Kind::Path, "C:\\Users\\me\\wide"},
        {"environment cut short", Link(ExpFlag | InfoFlag, {info, Cut(env, 0x300)}, false), Kind::Path, "C:\\Old\\a.txt"},
        // Outside the user's profile a target that names a variable is not judged, where the user's environment steers
        // it inside; one without a variable needs none.
        {"a variable, outside", steered, Kind::NotJudged, "", true}, {"a variable, inside", steered, Kind::Path, "C:\\Users\\me\\x.exe"},
        {"no variable, outside", fixed, Kind::Path, "D:\\x.exe", true}, {"no variable, inside", fixed, Kind::Path, "D:\\x.exe"},
        {"a special folder moved", Link(IdListFlag, {kFileList, FolderBlock(false, 5, kDocumentsChild)}), Kind::Path, "D:\\Docs\\报告.txt"},
        {"the known folder first", Link(IdListFlag, {kFileList, FolderBlock(false, 5, kDocumentsChild), FolderBlock(true, 0, kDocumentsChild, kDocumentsGuid)}), Kind::Path, "E:\\Docs\\报告.txt"},
        {"only the first block of a kind", Link(IdListFlag, {kFileList, FolderBlock(false, 6, kDocumentsChild), FolderBlock(false, 5, kDocumentsChild)}), Kind::Path, "C:\\Users\\me\\Documents\\报告.txt"},
        {"known folder tracking off", Link(IdListFlag | NoKnownFolderFlag, {kFileList, FolderBlock(true, 0, kDocumentsChild, kDocumentsGuid), FolderBlock(false, 5, kDocumentsChild)}), Kind::Path, "D:\\Docs\\报告.txt"},
        {"a folder the system does not know", Link(IdListFlag, {kFileList, FolderBlock(false, 6, kDocumentsChild)}), Kind::Path, "C:\\Users\\me\\Documents\\报告.txt"},
        {"another block of a folder block's size", Link(IdListFlag, {kFileList, With(FolderBlock(false, 5, kDocumentsChild), 4, 0x99)}), Kind::Path, "C:\\Users\\me\\Documents\\报告.txt"},
        {"a folder offset inside an item", Link(IdListFlag, {kFileList, FolderBlock(false, 5, kDocumentsChild - 1)}), Kind::Path, "C:\\Users\\me\\Documents\\报告.txt"},
        {"a folder offset past the list", Link(IdListFlag, {kFileList, FolderBlock(false, 5, 0xFFFFFFF0)}), Kind::Path, "C:\\Users\\me\\Documents\\报告.txt"},
        {"a shell item under a known folder", Link(IdListFlag, {IdList({ClsidItem(kControlPanel), FileItem(u"x")}), FolderBlock(false, 5, 0x14)}), Kind::Path, "D:\\Docs\\x"},
        {"a block longer than the file", Link(IdListFlag, {IdList({kRoot, kC}), With(FolderBlock(false, 5, 0x14), 1, 1)}), Kind::Path, "C:\\"},
        // The header.
        {"another header size", With(Link(IdListFlag, {IdList({kRoot, kC})}), 0, 0x4D), Kind::Unreadable, ""},
        {"another class", With(Link(IdListFlag, {IdList({kRoot, kC})}), 4, 0x02), Kind::Unreadable, ""},
        {"a header cut short", Cut(Link(0, {}), 0x4B), Kind::Unreadable, ""},
        {"nothing", {}, Kind::Unreadable, ""},
    };
    for (const auto& c : cases) {
        const Bytes exact(c.bytes);   // a buffer of exactly the bytes' size, so the sanitizer sees a read past it
        const ShortcutTarget target = ReadShellLink(exact, c.machine ? kMachine : kServices).target;
        EXPECT_EQ(std::tie(target.kind, target.path), std::tie(c.kind, c.path)) << c.what;
    }
}

// The corpus (tests/fuzz/corpus/ShellLinkFuzz: shell-*.lnk saved by Wine's shell, form-*.lnk the forms it does not
// write, scripts/make-link-corpus.sh; built-*.lnk as this file builds links) reads as its table says, and agrees with lnkinfo (liblnk, third column, from
// scripts/link-corpus/oracle.py) wherever that names a path ("...\x": the names after a folder it only names), or
// the table says why not. The Wine tests hold the same files against the shell's GetPath.
TEST(ShellLinkReader, ReadsTheCorpusAsTheTableSaysAndAsLnkinfoDoes) {
    std::ifstream table(CC_SOURCE_DIR "/tests/host/LinkCorpus.tsv");
    std::set<std::string> listed;
    for (const std::vector<std::string>& f : CorpusRows(std::string(std::istreambuf_iterator<char>(table), {}))) {
        std::ifstream in(CC_SOURCE_DIR "/tests/fuzz/corpus/ShellLinkFuzz/" + f[0], std::ios::binary);
        const ShortcutTarget t = ReadShellLink(Bytes(std::istreambuf_iterator<char>(in), {}), kServices).target;
        const std::string ours = t.kind == Kind::Path ? t.path : t.kind == Kind::Elsewhere ? "Elsewhere" : "Unreadable";
        const bool agrees = f[2] == "-" || (f[2].starts_with("...\\") ? ours.ends_with(f[2].substr(3)) : ours == f[2]);
        EXPECT_EQ(std::pair(ours, agrees), std::pair(f[1], f[3] == "-")) << f[0] << ": lnkinfo gives " << f[2] << ", the table says " << f[3];
        listed.insert(f[0]);
    }
    for (const auto& file : std::filesystem::directory_iterator(CC_SOURCE_DIR "/tests/fuzz/corpus/ShellLinkFuzz"))
        EXPECT_TRUE(listed.count(file.path().filename())) << file.path() << " is not in the table";
}
