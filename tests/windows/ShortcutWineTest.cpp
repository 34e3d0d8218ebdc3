// Real shortcut files made with IShellLinkW, read back through the file
// system layer, and judged as the invalid-shortcut scan judges them.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "platform/win32/Win32FileSystem.h"
#include "shortcuts/ShortcutScan.h"

using namespace cc;
using Kind = ShortcutTarget::Kind;

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
