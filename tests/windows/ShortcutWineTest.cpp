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

    // Saves a shortcut to a path target, or to a shell item when items is given.
    static bool Save(const std::string& link, const std::string& target, PCIDLIST_ABSOLUTE items = nullptr) {
        ComPtr<IShellLinkW> shell;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.putVoid())))
            return false;
        if (items) shell->SetIDList(items);
        else shell->SetPath(Widen(target).c_str());
        ComPtr<IPersistFile> file;
        if (FAILED(shell->QueryInterface(IID_IPersistFile, file.putVoid()))) return false;
        return SUCCEEDED(file->Save(Widen(link).c_str(), TRUE));
    }

    test::TempFolder temp;
    Win32FileSystem files;
};

}  // namespace

TEST_F(ShortcutOnWine, ReadsTargetsAndJudgesEachKindOfShortcut) {
    const std::string dir = temp.path();
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "present.txt"), "here"));
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "doomed.txt"), "soon gone"));
    ASSERT_TRUE(CreateDirectoryW(LongPath(dir + "folder").c_str(), nullptr));

    ASSERT_TRUE(Save(dir + "present.lnk", dir + "present.txt"));
    ASSERT_TRUE(Save(dir + "missing.lnk", dir + "doomed.txt"));
    DeleteFileW(LongPath(dir + "doomed.txt").c_str());
    ASSERT_TRUE(Save(dir + "folder.lnk", dir + "folder"));
    std::string random(600, '\0');
    for (size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>((i * 2654435761u) >> 13);
    ASSERT_TRUE(test::MakeFile(LongPath(dir + "corrupt.lnk"), random));
    PIDLIST_ABSOLUTE controls = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, &controls), S_OK);
    ASSERT_TRUE(Save(dir + "panel.lnk", "", controls));
    CoTaskMemFree(controls);

    ShortcutTarget present = files.readShortcut(dir + "present.lnk");
    EXPECT_EQ(present.kind, Kind::Path);
    EXPECT_EQ(present.path, dir + "present.txt");
    EXPECT_TRUE(IsWorkingShortcut(files, dir + "present.lnk"));

    ShortcutTarget missing = files.readShortcut(dir + "missing.lnk");
    EXPECT_EQ(missing.kind, Kind::Path);
    EXPECT_EQ(missing.path, dir + "doomed.txt");
    EXPECT_FALSE(IsWorkingShortcut(files, dir + "missing.lnk"));

    EXPECT_EQ(files.readShortcut(dir + "folder.lnk").path, dir + "folder");
    EXPECT_TRUE(IsWorkingShortcut(files, dir + "folder.lnk"));   // a folder target is a working one

    EXPECT_EQ(files.readShortcut(dir + "corrupt.lnk").kind, Kind::Unreadable);
    EXPECT_FALSE(IsWorkingShortcut(files, dir + "corrupt.lnk"));

    EXPECT_EQ(files.readShortcut(dir + "panel.lnk").kind, Kind::Elsewhere);
    EXPECT_TRUE(IsWorkingShortcut(files, dir + "panel.lnk"));   // no path, but a shell item: working

    EXPECT_EQ(files.readShortcut(dir + "no-such.lnk").kind, Kind::Unreadable);
}

TEST_F(ShortcutOnWine, ReadsShortcutsWithForeignNamesAndDeepPaths) {
    std::string deep = temp.path();
    for (int level = 0; level < 9; ++level) {
        deep += std::string(30, static_cast<char>('k' + level)) + "\\";
        ASSERT_TRUE(CreateDirectoryW(LongPath(deep).c_str(), nullptr));
    }
    std::string link = deep + "\xED\x95\x9C\xEA\xB8\x80.lnk";   // past MAX_PATH, a Hangul name
    std::string target = temp.path() + "gone.exe";
    // The shell saves only short paths: save it short, then move it deep.
    std::string shortLink = temp.path() + "short.lnk";
    ASSERT_TRUE(Save(shortLink, target));
    ASSERT_TRUE(MoveFileW(LongPath(shortLink).c_str(), LongPath(link).c_str()));
    ASSERT_GT(link.size(), 260u);
    ShortcutTarget read = files.readShortcut(link);
    EXPECT_EQ(read.kind, Kind::Path);
    EXPECT_EQ(read.path, target);
    EXPECT_FALSE(IsWorkingShortcut(files, link));
}
