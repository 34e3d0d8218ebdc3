// Real shortcut files made with IShellLinkW, read back through the file
// system layer, and judged as the invalid-shortcut scan judges them.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "TempFolder.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"
#include "shortcuts/ShortcutScan.h"

using namespace cc;
using Kind = ShortcutTarget::Kind;

namespace {

struct ShortcutOnWine : ::testing::Test {
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    // Saves a shortcut to a path target, or to a shell item when items is
    // given, under an ordinary name; then moves it to `link` (the shell saves
    // only short, ordinary paths).
    bool save(const std::string& link, const std::string& target, PCIDLIST_ABSOLUTE items = nullptr) {
        ComPtr<IShellLinkW> shell;
        ComPtr<IPersistFile> file;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.putVoid())) ||
            FAILED(items ? shell->SetIDList(items) : shell->SetPath(Widen(target).c_str())) ||
            FAILED(shell->QueryInterface(IID_IPersistFile, file.putVoid())))
            return false;
        std::wstring ordinary = Widen(temp.path()) + L"saving.lnk";
        return SUCCEEDED(file->Save(ordinary.c_str(), TRUE)) && MoveFileW(ordinary.c_str(), LongPath(link).c_str());
    }
    ShortcutTarget read(const std::string& name) { return files.readShortcut(temp.path() + name); }
    // A shortcut as any program may write one ([MS-SHLLINK]): a header and a
    // LinkInfo holding the local path exactly as given, ".." and all.
    static std::string RawLink(const std::string& path) {
        auto u32 = [](std::string& s, std::uint32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); };
        std::string link, info;
        u32(link, 0x4C);
        link += std::string("\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 16);   // CLSID_ShellLink
        u32(link, 0x2);                                                        // HasLinkInfo
        link.resize(0x4C, '\0');
        const std::uint32_t volume = 0x1C, local = volume + 0x11, suffix = local + path.size() + 1;
        for (std::uint32_t v : {suffix + 1, volume, 1u, volume, local, 0u, suffix, 0x11u, 3u, 0u, 0x10u}) u32(info, v);
        info += std::string(1, '\0') + path + std::string(2, '\0');
        return link + info + std::string(4, '\0');   // no extra data
    }

    test::TempFolder temp;
    Win32FileSystem files;
};

}  // namespace

TEST_F(ShortcutOnWine, ReadsTargetsAndJudgesEachKindOfShortcut) {
    const std::string dir = temp.path();
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "present.txt"), "here"));
    ASSERT_TRUE(CreateDirectoryW(LongPath(dir + "folder").c_str(), nullptr));
    ASSERT_TRUE(save(dir + "present.lnk", dir + "present.txt"));
    ASSERT_TRUE(save(dir + "missing.lnk", dir + "doomed.txt"));
    ASSERT_TRUE(save(dir + "folder.lnk", dir + "folder"));
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "relative.lnk"), RawLink(dir + "folder\\..\\present.txt")));
    std::string random(600, '\0');
    for (size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>((i * 2654435761u) >> 13);
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "corrupt.lnk"), random));
    PIDLIST_ABSOLUTE controls = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, &controls), S_OK);
    ASSERT_TRUE(save(dir + "panel.lnk", "", controls));
    CoTaskMemFree(controls);

    struct Case {
        const char* name;
        Kind kind;
        std::string path;
        bool working;
    } cases[] = {
        {"present.lnk", Kind::Path, dir + "present.txt", true},  {"missing.lnk", Kind::Path, dir + "doomed.txt", false},
        {"folder.lnk", Kind::Path, dir + "folder", true},        {"relative.lnk", Kind::Path, dir + "present.txt", true},
        {"corrupt.lnk", Kind::Unreadable, "", false},            {"panel.lnk", Kind::Elsewhere, "", true},
        {"no-such.lnk", Kind::Unreadable, "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(c.name).kind, c.kind) << c.name;
        EXPECT_EQ(read(c.name).path, c.path) << c.name;
        EXPECT_EQ(IsWorkingShortcut(files, dir + c.name), c.working) << c.name;
    }
    // Held open by another program without sharing: not judged, so never listed.
    HANDLE held = CreateFileW(LongPath(dir + "missing.lnk").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(read("missing.lnk").kind, Kind::InUse);
    EXPECT_TRUE(IsWorkingShortcut(files, dir + "missing.lnk"));
    CloseHandle(held);
}

TEST_F(ShortcutOnWine, ReadsExactlyTheListedFileWhateverItsNameOrDepth) {
    std::string deep = temp.path();
    for (int level = 0; level < 9; ++level) {
        deep += std::string(30, static_cast<char>('k' + level)) + "\\";
        ASSERT_TRUE(CreateDirectoryW(LongPath(deep).c_str(), nullptr));
    }
    const std::string dir = temp.path(), gone = dir + "gone.exe";
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "here.exe"), "x"));
    // "same.lnk." and "COM1.lnk" are files of their own, never "same.lnk" or a device.
    ASSERT_TRUE(save(dir + "same.lnk", dir + "here.exe"));
    for (std::string link : {dir + "same.lnk.", dir + "COM1.lnk", deep + "\xED\x95\x9C\xEA\xB8\x80.lnk"}) {
        ASSERT_TRUE(save(link, gone)) << link;
        EXPECT_EQ(files.readShortcut(link).path, gone) << link;
        EXPECT_FALSE(IsWorkingShortcut(files, link)) << link;
    }
    EXPECT_TRUE(IsWorkingShortcut(files, dir + "same.lnk"));
}
