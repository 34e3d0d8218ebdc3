// Real shortcut files made with IShellLinkW, read back through the file
// system layer, and judged as the invalid-shortcut scan judges them; the
// program's own reader held against the shell's reading of the same bytes.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <vector>

#include "../host/LinkBytes.h"
#include "TestFiles.h"
#include "platform/win32/Win32FileSystem.h"
#include "shortcuts/ShortcutScan.h"

using namespace cc;
using Kind = ShortcutTarget::Kind;

namespace {

std::string FullPath(const std::wstring& path) {
    std::wstring full(32768, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
    return length == 0 || length >= full.size() ? Narrow(path) : Narrow(std::wstring_view(full.data(), length));
}

// The target as the shell's link object reads these bytes, as the program
// read them before it had its own reader.
ShortcutTarget ShellReading(const std::string& bytes) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistStream> persist;
    ComPtr<IStream> stream;
    *stream.put() = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), UINT(bytes.size()));
    if (!stream || FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistStream, persist.putVoid())) || FAILED(persist->Load(stream.get())))
        return {};
    ComPtr<IShellLinkDataList> data;
    DWORD flags = 0;
    if (SUCCEEDED(link->QueryInterface(IID_IShellLinkDataList, data.putVoid())) && SUCCEEDED(data->GetFlags(&flags)) &&
        (flags & SLDF_HAS_DARWINID))
        return {Kind::Elsewhere, ""};
    std::wstring path(32768, L'\0');
    if (link->GetPath(path.data(), int(path.size()), nullptr, 0) == S_OK && path[0]) return {Kind::Path, FullPath(path.c_str())};
    PIDLIST_ABSOLUTE items = nullptr;
    if (link->GetIDList(&items) == S_OK && items) return CoTaskMemFree(items), ShortcutTarget{Kind::Elsewhere, ""};
    return {};
}

std::string Text(Kind kind, const std::string& path) {
    const char* names[] = {"Unreadable", "Elsewhere", "Path", "NotJudged"};
    return std::string(names[int(kind)]) + " " + path;
}

}  // namespace

struct ShortcutOnWine : ::testing::Test {
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    // Saves a shortcut to a path target, or to a shell item, under an ordinary
    // name, then copies it to `link`: the shell saves only short, ordinary paths.
    bool save(const std::string& link, const std::string& target, PCIDLIST_ABSOLUTE items = nullptr) {
        const std::wstring ordinary = Widen(temp.path()) + L"saving.lnk";
        return test::SaveShortcut(ordinary, Widen(target), items) && test::MakeFile(LongPath(link), test::ReadWholeFile(ordinary));
    }
    ShortcutTarget read(const std::string& name) { return files.readShortcut(temp.path() + name); }
    // A shortcut as any program may write one ([MS-SHLLINK]): a header and a
    // LinkInfo holding the local path exactly as given, ".." and all.
    // Our reading of the file against the shell's reading of its bytes: the
    // same, or Elsewhere where the shell would bind a shell folder to name it.
    void expectAgreement(const std::string& name, const std::string& bytes, const char* why = "") {
        ASSERT_TRUE(test::MakeFile(LongPath(temp.path() + name), bytes)) << name;
        const ShortcutTarget ours = read(name), shell = ShellReading(bytes);
        if (ours.kind == Kind::Elsewhere && shell.kind == Kind::Path) return;
        // Wine names a file by its code-page name ("?" for what the code page lacks) and keeps the
        // letter case it was given; Windows, and the reader, take the long Unicode name.
        if (shell.path.find('?') != std::string::npos) return;
        EXPECT_EQ(test::Upper(Text(ours.kind, ours.path)), test::Upper(Text(shell.kind, shell.path))) << name << " " << why;
    }
    static std::string RawLink(const std::string& path) {
        auto u32 = [](std::string& s, std::uint32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); };
        // Its size, CLSID_ShellLink, HasLinkInfo; no times, size, icon or keys.
        std::string link("\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46\x02\0\0\0", 24), info;
        link.resize(0x4C, '\0');
        const std::uint32_t volume = 0x1C, local = volume + 0x11, suffix = local + path.size() + 1;
        for (std::uint32_t v : {suffix + 1, volume, 1u, volume, local, 0u, suffix, 0x11u, 3u, 0u, 0x10u}) u32(info, v);
        info += std::string(1, '\0') + path + std::string(2, '\0');
        return link + info + std::string(4, '\0');   // no extra data
    }

    test::TempFolder temp;
    Win32FileSystem files;
};

TEST_F(ShortcutOnWine, ReadsExactlyTheListedFileAndJudgesEachKindOfShortcut) {
    std::string dir = temp.path(), deep = dir, gone = dir + "gone.exe";
    for (char c = 'k'; c < 't'; ++c) ASSERT_TRUE(CreateDirectoryW(LongPath(deep += std::string(30, c) + "\\").c_str(), nullptr));
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "present.txt"), "here"));
    ASSERT_TRUE(CreateDirectoryW(LongPath(dir + "folder").c_str(), nullptr));
    ASSERT_TRUE(save(dir + "present.lnk", dir + "present.txt"));
    ASSERT_TRUE(save(dir + "folder.lnk", dir + "folder"));
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "relative.lnk"), RawLink(dir + "folder\\..\\present.txt")));
    std::string random(600, '\0');
    for (size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>((i * 2654435761u) >> 13);
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "corrupt.lnk"), random));
    PIDLIST_ABSOLUTE controls = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, &controls), S_OK);
    ASSERT_TRUE(save(dir + "panel.lnk", "", controls));
    CoTaskMemFree(controls);
    // Files of their own, never "present.lnk" or a device: a trailing dot, COM1, past MAX_PATH in Hangul.
    const std::string odd[] = {"present.lnk.", "COM1.lnk", deep.substr(dir.size()) + "\xED\x95\x9C\xEA\xB8\x80.lnk"};
    for (const std::string& name : odd) ASSERT_TRUE(save(dir + name, gone)) << name << ": error " << GetLastError();

    struct Case { std::string name; Kind kind; std::string path; bool working; } cases[] = {
        {"present.lnk", Kind::Path, dir + "present.txt", true}, {"folder.lnk", Kind::Path, dir + "folder", true},
        {"relative.lnk", Kind::Path, dir + "present.txt", true}, {"corrupt.lnk", Kind::Unreadable, "", false},
        {"panel.lnk", Kind::Elsewhere, "", true},                {"no-such.lnk", Kind::Unreadable, "", false},
        {odd[0], Kind::Path, gone, false}, {odd[1], Kind::Path, gone, false}, {odd[2], Kind::Path, gone, false},
    };
    for (const Case& c : cases) {
        if (c.name != "no-such.lnk") expectAgreement("copy.lnk", test::ReadWholeFile(LongPath(dir + c.name)), c.name.c_str());
        EXPECT_EQ(read(c.name).kind, c.kind) << c.name;
        EXPECT_EQ(read(c.name).path, c.path) << c.name;
        EXPECT_EQ(IsWorkingShortcut(files, dir + c.name), c.working) << c.name;
    }
    // Held open by another program without sharing: not judged, so never listed.
    HANDLE held = CreateFileW(LongPath(dir + "COM1.lnk").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(read("COM1.lnk").kind, Kind::NotJudged);
    EXPECT_TRUE(IsWorkingShortcut(files, dir + "COM1.lnk"));
    CloseHandle(held);
}

// Shortcuts the shell saves (to files and folders that are there or gone, by
// path or by item list), then variations of their bytes and links built byte
// by byte: our reader gives what the shell gives for every one.
TEST_F(ShortcutOnWine, OurReaderAgreesWithTheShellOnSavedAndVariedShortcuts) {
    using namespace cc::test;
    const std::string dir = temp.path();
    ASSERT_TRUE(CreateDirectoryW(LongPath(dir + "有 空格").c_str(), nullptr));
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "有 空格\\long name.text"), "x"));
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "A.TXT"), "x"));
    // No target with "..": Wine saves it in the item list as the name of the folder it leads to, a
    // list naming another path than its LinkInfo (relative.lnk above holds "..").
    std::vector<std::string> targets = {dir + "有 空格\\long name.text", dir + "有 空格", dir + "A.TXT", dir + "a.txt.", dir + "gone\\x.exe",
                                        "C:\\", "T:\\", "T:\\sub", "T:\\gone.exe",
                                        "C:\\nowhere\\x.exe", "C:\\windows\\system32\\notepad.exe", "C:\\windows", dir + "한글.lnk",
                                        "C:\\Program Files\\x y\\z.exe", "c:\\windows\\NOTEPAD.EXE"};
    for (const int csidl : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_APPDATA, CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_PROGRAM_FILES}) {
        wchar_t path[MAX_PATH]{};
        if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK) targets.push_back(Narrow(path) + "\\gone.txt");
    }
    std::vector<std::string> saved;
    for (const std::string& target : targets) {
        const std::wstring ordinary = Widen(dir) + L"saving.lnk";
        ASSERT_TRUE(test::SaveShortcut(ordinary, Widen(target))) << target;
        saved.push_back(test::ReadWholeFile(ordinary));
    }
    for (const int csidl : {CSIDL_CONTROLS, CSIDL_DRIVES, CSIDL_PRINTERS, CSIDL_BITBUCKET, CSIDL_DESKTOP, CSIDL_PERSONAL, CSIDL_WINDOWS,
                            CSIDL_FONTS, CSIDL_NETWORK, CSIDL_SYSTEM}) {
        PIDLIST_ABSOLUTE items = nullptr;
        if (SHGetSpecialFolderLocation(nullptr, csidl, &items) != S_OK) continue;
        const std::wstring ordinary = Widen(dir) + L"saving.lnk";
        ASSERT_TRUE(test::SaveShortcut(ordinary, L"", items)) << csidl;
        CoTaskMemFree(items);
        saved.push_back(test::ReadWholeFile(ordinary));
    }
    int n = 0;
    auto name = [&n] { return "v" + std::to_string(n++) + ".lnk"; };
    for (const std::string& link : saved) {
        expectAgreement(name(), link, "as saved");
        // ForceNoLinkInfo, HasExpString, RunAsUser. Not HasDarwinID without its block: Wine's load fails
        // there, and the reader calls it advertised, never offered for deletion (ShellLink.cpp says why).
        for (std::uint8_t bit : {0x01, 0x02, 0x20})
            expectAgreement(name(), std::string(link).replace(21, 1, 1, char(link[21] | bit)), "a flag set");
        for (std::size_t cut : {std::size_t(0x4C), link.size() / 2, link.size() - 4, link.size() - 1}) expectAgreement(name(), link.substr(0, cut), "cut");
    }
    // Links any program may write: LinkInfo alone, strings, blocks.
    const std::string present = dir + "A.TXT";
    auto raw = [](const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); };
    // Wine leaves out what Windows reads and the reader follows Windows in (the host tests hold
    // those): the common path suffix, the Unicode forms and the share of LinkInfo, the
    // environment block, the path of a drive alone, ForceNoLinkInfo, an item list before LinkInfo,
    // and file items it did not write itself. Only what both read is compared here.
    const Bytes whole = LocalInfo(present, ""), missing = LocalInfo(dir + "gone.txt", "");
    const Bytes variants[] = {
        Link(0x02, {whole}), Link(0x02, {missing}), Link(0x08 | 0x80, {Text("..\\A.TXT")}), Link(0x20, {Text("/x", false)}),
        Link(0x04 | 0x20 | 0x02, {whole, Text("n", false), Text("-a", false)}), Link(0x86 | 0x20, {whole, Text("n"), Text("-a")}),
        Link(0x1002, {whole, TextBlock(kDarwinBlock, "x", u"x")}), Link(0x01, {IdList({ClsidItem(kControlPanel)})}),
    };
    for (const Bytes& bytes : variants) expectAgreement(name(), raw(bytes), "built");
    EXPECT_GT(n, 200);
}
