// The browser-repair page in the real window: hijacks planted in the test
// prefix's registry and system folder, found by a scan and shown whole,
// repaired link by link. (The Wine tests try every repair's details.)
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "platform/win32/Utf.h"
#include "tests/windows/TestFiles.h"

using namespace cc::test;

namespace {

constexpr const wchar_t* kMain = L"Software\\Microsoft\\Internet Explorer\\Main";
constexpr const wchar_t* kDesktopIcon = L"CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell\\OpenHomePage\\Command";
constexpr const wchar_t* kHttp = L"http\\shell\\open\\command";
constexpr const wchar_t* kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kClean = L"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"";

bool SetText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    return SetRegistryValue(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

// The status icon from the screen: the shield is red, the tick green.
char IconLook(HWND icon) {
    const RECT r = ScreenRect(icon);
    const COLORREF pixel = ScreenPixel({r.left + 4, r.top + 5});
    return GetRValue(pixel) > GetGValue(pixel) + 40 ? 'R' : GetGValue(pixel) > GetRValue(pixel) + 40 ? 'G' : '?';
}

// The first text column of a result row: its first character must show whole,
// not under the caption label that reaches 3 pixels into the row.
bool FirstColumnHasInk(HWND label) {
    const RECT r = ScreenRect(label);
    for (int x = r.left; x < r.left + 3; ++x)
        for (int y = r.top; y < r.bottom; ++y)
            if (ScreenPixel({x, y}) != RGB(255, 255, 255)) return true;
    return false;
}

struct Row {
    const char *result, *icon, *link;
};
const Row kRows[] = {{"标签13", "图片框17", "超级链接框1"}, {"标签14", "图片框18", "超级链接框2"}, {"标签16", "图片框19", "超级链接框3"},
                     {"标签15", "图片框20", "超级链接框4"}, {"标签17", "图片框21", "超级链接框5"}};

}  // namespace

TEST(RepairEndToEnd, FindsEachPlantedHijackAndRepairsItLinkByLink) {
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kMain, L"Start Page", L"http://hijack.example/"));
    ASSERT_TRUE(SetText(HKEY_CLASSES_ROOT, kDesktopIcon, nullptr, L"\"C:\\evil\\evil.exe\" http://evil.example/"));
    ASSERT_TRUE(SetText(HKEY_CLASSES_ROOT, kHttp, nullptr, std::wstring(kClean) + L" -nohome"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kRun, L"SoundMan", L""));
    ASSERT_TRUE(MakeFile(SystemFile(L"dneapi.dll"), "planted"));

    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.clickTab(program.control("高级选择夹1"), 4);
    for (const Row& row : kRows) EXPECT_FALSE(IsWindowVisible(program.control(row.link))) << row.link;
    program.clickControl(program.control("按钮11"));
    const wchar_t* const found[] = {L"检测到您的IE首页为:http://hijack.example/", L"检测到劫持！", L"检测到植入！",
                                    L"系统检测到您的IE被非法劫持,主页为:http://evil.example/", L"检测到非法劫持,当前IE首页为:-nohome"};
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(program.waitForText(program.control(kRows[i].result), found[i], 10000)) << i;
    program.settle();
    for (const Row& row : kRows) {
        EXPECT_TRUE(IsWindowVisible(program.control(row.link))) << row.link;
        EXPECT_EQ(IconLook(program.control(row.icon)), 'R') << row.icon;
        EXPECT_TRUE(FirstColumnHasInk(program.control(row.result))) << row.result;
    }
    program.screenshot(L"repair_findings");

    for (int i : {0, 2, 3, 4}) {   // not the library's: it restarts the shell (the Wine tests try it)
        program.clickControl(program.control(kRows[i].link));
        HWND box = program.waitForBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ProgramDriver::boxText(box), L"修复完毕.");
        ProgramDriver::answerBox(box, IDOK);
        EXPECT_TRUE(program.waitForText(program.control(kRows[i].result), L"未发现异常", 5000)) << i;
        EXPECT_FALSE(IsWindowVisible(program.control(kRows[i].link))) << i;
    }
    program.settle();
    for (int i : {0, 2, 3, 4}) EXPECT_EQ(IconLook(program.control(kRows[i].icon)), 'G') << kRows[i].icon;
    program.screenshot(L"repair_clean");

    EXPECT_EQ(program.closeAndWait(), 0);
    DeleteFileW(SystemFile(L"dneapi.dll").c_str());
}
