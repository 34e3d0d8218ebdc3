// The invalid-shortcut page in the real window: shortcuts made on the test
// drive, a scan of every drive, and deletion of the checked ones.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "ModalBoxes.h"
#include "ProgramDriver.h"
#include "platform/win32/Handles.h"

using namespace cc::test;

extern std::wstring gProgram;
extern std::wstring gScreenshots;

namespace {

bool SaveLink(const std::wstring& link, const std::wstring& target) {
    cc::ComPtr<IShellLinkW> shell;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.putVoid())))
        return false;
    shell->SetPath(target.c_str());
    cc::ComPtr<IPersistFile> file;
    return SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.putVoid())) &&
           SUCCEEDED(file->Save(link.c_str(), TRUE));
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(ShortcutsEndToEnd, ListsTheBrokenShortcutsOfTheTestDriveAndDeletesTheChecked) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring root = L"T:\\links\\";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"sub").c_str(), nullptr);
    HANDLE target = CreateFileW((root + L"here.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(target, INVALID_HANDLE_VALUE) << "no test drive T: (scripts/test-fixtures.sh)";
    CloseHandle(target);
    ASSERT_TRUE(SaveLink(root + L"good.lnk", root + L"here.txt"));
    ASSERT_TRUE(SaveLink(root + L"folder.lnk", root + L"sub"));
    ASSERT_TRUE(SaveLink(root + L"gone.lnk", root + L"gone.exe"));
    ASSERT_TRUE(SaveLink(root + L"sub\\also-gone.LNK", L"C:\\nowhere\\x.exe"));
    ASSERT_TRUE(SaveLink(root + L"sub\\keep-gone.lnk", L"C:\\nowhere\\y.exe"));

    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.clickTab(program.control("高级选择夹1"), 1);
    HWND scan = program.control("扫描");
    HWND list = program.control("选择1");
    program.clickControl(scan);
    ASSERT_TRUE(program.waitForText(scan, L"扫描"));
    program.settle();
    EXPECT_TRUE(IsWindowEnabled(scan));
    EXPECT_EQ(program.text(program.control("透明标签3")), L"扫描结果:");
    EXPECT_EQ(program.text(program.control("标签1")).rfind(L"无效文件共有 ", 0), 0u);

    // Ours are listed, in walk order; the prefix may hold broken shortcuts of its own.
    std::vector<std::wstring> ours;
    for (int i = 0; i < program.listCount(list); ++i) {
        std::wstring item = program.listText(list, i);
        EXPECT_TRUE(program.listChecked(list, i)) << i;
        if (item.rfind(root, 0) == 0) ours.push_back(item);
        else program.setListChecked(list, i, false);   // never delete what the test did not make
    }
    EXPECT_EQ(ours, (std::vector<std::wstring>{root + L"gone.lnk", root + L"sub\\also-gone.LNK",
                                               root + L"sub\\keep-gone.lnk"}));
    program.screenshot(L"shortcuts_found");

    for (int i = 0; i < program.listCount(list); ++i)
        if (program.listText(list, i) == root + L"sub\\keep-gone.lnk") program.setListChecked(list, i, false);
    int before = program.listCount(list);
    program.clickControl(program.control("删除"));
    EXPECT_EQ(program.listCount(list), before - 2);
    EXPECT_FALSE(Exists(root + L"gone.lnk"));
    EXPECT_FALSE(Exists(root + L"sub\\also-gone.LNK"));
    EXPECT_TRUE(Exists(root + L"sub\\keep-gone.lnk"));
    EXPECT_TRUE(Exists(root + L"good.lnk"));
    EXPECT_TRUE(Exists(root + L"folder.lnk"));
    program.screenshot(L"shortcuts_after_delete");

    EXPECT_EQ(program.closeAndWait(), 0);
    for (const wchar_t* name : {L"good.lnk", L"folder.lnk", L"sub\\keep-gone.lnk", L"here.txt"}) DeleteFileW((root + name).c_str());
    CoUninitialize();
}

TEST(ShortcutsEndToEnd, ClosingTheWindowDuringAScanEndsTheProgramCleanly) {
    // Enough folders that the scan is still running when the close arrives.
    const std::wstring root = L"T:\\many\\";
    CreateDirectoryW(root.c_str(), nullptr);
    for (int i = 0; i < 400; ++i) CreateDirectoryW((root + std::to_wstring(i)).c_str(), nullptr);

    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.clickTab(program.control("高级选择夹1"), 1);
    HWND scan = program.control("扫描");
    PostMessageW(scan, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(scan, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(program.waitForText(scan, L"扫描中..", 10000));
    // The frame's close button stays usable while the scan runs.
    HWND close = program.control("图形按钮_关闭");
    PostMessageW(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(close, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(program.waitForExit(), 0);
    for (int i = 0; i < 400; ++i) RemoveDirectoryW((root + std::to_wstring(i)).c_str());
    RemoveDirectoryW(root.c_str());
}
