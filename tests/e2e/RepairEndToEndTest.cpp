// The browser-repair page in the real window: hijacks planted in the test
// prefix's registry and system folder, found by a scan, repaired link by link
// with every outcome box answered, and checked on disk and in the registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "platform/win32/Utf.h"
#include "tests/windows/TestFiles.h"
#include "resources/ResourceIds.h"

using namespace cc::test;

extern std::wstring gProgram;
extern std::wstring gScreenshots;

namespace {

constexpr const wchar_t* kMain = L"Software\\Microsoft\\Internet Explorer\\Main";
constexpr const wchar_t* kDesktopIcon = L"CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell\\OpenHomePage\\Command";
constexpr const wchar_t* kHttp = L"http\\shell\\open\\command";
constexpr const wchar_t* kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kClean = L"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"";

bool SetText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    return RegSetKeyValueW(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

std::wstring GetText(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t buffer[512]{};
    DWORD bytes = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) return L"<missing>";
    return buffer;
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

// The copy of the System Configuration Utility the program carries, if any.
std::string CarriedUtility() {
    HMODULE exe = LoadLibraryExW(gProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HRSRC found = exe ? FindResourceW(exe, MAKEINTRESOURCEW(IDR_MSCONFIG), MAKEINTRESOURCEW(10)) : nullptr;
    std::string copy;
    if (found) copy.assign(static_cast<const char*>(LockResource(LoadResource(exe, found))), SizeofResource(exe, found));
    if (exe) FreeLibrary(exe);
    return copy;
}

std::set<DWORD> ExplorerProcesses() {
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof entry};
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (lstrcmpiW(entry.szExeFile, L"explorer.exe") == 0) ids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

// The repair restarts the shell; under Wine that opens a file-manager window.
void EndShellsStartedSince(const std::set<DWORD>& before) {
    for (DWORD id : ExplorerProcesses())
        if (HANDLE process = before.count(id) ? nullptr : OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
}

// The status icon from the screen: the shield is red, the tick green.
char IconLook(HWND icon) {
    const RECT r = ScreenRect(icon);
    const COLORREF pixel = ProgramDriver::pixel({r.left + 4, r.top + 5});
    return GetRValue(pixel) > GetGValue(pixel) + 40 ? 'R' : GetGValue(pixel) > GetRValue(pixel) + 40 ? 'G' : '?';
}

// The first text column of a result row: its first character must show whole,
// not under the caption label that reaches 3 pixels into the row.
bool FirstColumnHasInk(HWND label) {
    const RECT r = ScreenRect(label);
    for (int x = r.left; x < r.left + 3; ++x)
        for (int y = r.top; y < r.bottom; ++y)
            if (ProgramDriver::pixel({x, y}) != RGB(255, 255, 255)) return true;
    return false;
}

struct Row {
    const char *result, *icon, *link;
};
const Row kStartPage{"标签13", "图片框17", "超级链接框1"}, kLibrary{"标签14", "图片框18", "超级链接框2"},
    kStartup{"标签16", "图片框19", "超级链接框3"}, kDesktop{"标签15", "图片框20", "超级链接框4"},
    kHttpRow{"标签17", "图片框21", "超级链接框5"};
const Row kRows[] = {kStartPage, kLibrary, kStartup, kDesktop, kHttpRow};

// Presses the row's link and answers the box; the box's text.
std::wstring Repair(ProgramDriver& program, const Row& row) {
    program.clickControl(program.control(row.link));
    HWND box = program.waitForBox();
    if (!box) return L"<no box>";
    const std::wstring text = ProgramDriver::boxText(box);
    ProgramDriver::answerBox(box, IDOK);
    program.settle();
    return text;
}

}  // namespace

TEST(RepairEndToEnd, FindsEachPlantedHijackAndRepairsItLinkByLink) {
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kMain, L"Start Page", L"http://hijack.example/"));
    ASSERT_TRUE(SetText(HKEY_CLASSES_ROOT, kDesktopIcon, nullptr, L"\"C:\\evil\\evil.exe\" http://evil.example/"));
    ASSERT_TRUE(SetText(HKEY_CLASSES_ROOT, kHttp, nullptr, std::wstring(kClean) + L" -nohome"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kRun, L"SoundMan", L""));
    ASSERT_TRUE(MakeFile(SystemFile(L"dneapi.dll"), "planted"));
    ASSERT_TRUE(MakeFile(SystemFile(L"msconfig.exe"), "the system's own utility"));

    ProgramDriver program(gProgram, gScreenshots);
    ASSERT_TRUE(program.start());
    program.clickTab(program.control("高级选择夹1"), 4);
    for (const Row& row : kRows) EXPECT_FALSE(IsWindowVisible(program.control(row.link))) << row.link;
    program.clickControl(program.control("按钮11"));
    ASSERT_TRUE(program.waitForText(program.control(kStartPage.result), L"检测到您的IE首页为:http://hijack.example/", 10000));
    program.settle();
    EXPECT_EQ(program.text(program.control(kLibrary.result)), L"检测到劫持！");
    EXPECT_EQ(program.text(program.control(kStartup.result)), L"检测到植入！");
    EXPECT_EQ(program.text(program.control(kDesktop.result)), L"系统检测到您的IE被非法劫持,主页为:http://evil.example/");
    EXPECT_EQ(program.text(program.control(kHttpRow.result)), L"检测到非法劫持,当前IE首页为:-nohome");
    for (const Row& row : kRows) {
        EXPECT_TRUE(IsWindowVisible(program.control(row.link))) << row.link;
        EXPECT_EQ(IconLook(program.control(row.icon)), 'R') << row.icon;
        EXPECT_TRUE(FirstColumnHasInk(program.control(row.result))) << row.result;
    }
    program.screenshot(L"repair_findings");

    // The library in use: the repair fails and its link comes back.
    const std::set<DWORD> shells = ExplorerProcesses();
    HANDLE held = CreateFileW(SystemFile(L"dneapi.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Repair(program, kLibrary), L"修复失败请重试");
    EXPECT_TRUE(IsWindowVisible(program.control(kLibrary.link)));
    CloseHandle(held);
    for (const Row& row : {kStartPage, kDesktop, kHttpRow, kStartup, kLibrary}) {
        EXPECT_EQ(Repair(program, row), L"修复完毕.") << row.link;
        EXPECT_TRUE(program.waitForText(program.control(row.result), L"未发现异常", 5000)) << row.result;
        EXPECT_FALSE(IsWindowVisible(program.control(row.link))) << row.link;
    }
    EndShellsStartedSince(shells);
    SetForegroundWindow(program.window());
    program.settle(500);
    for (const Row& row : kRows) EXPECT_EQ(IconLook(program.control(row.icon)), 'G') << row.icon;
    program.screenshot(L"repair_clean");

    EXPECT_EQ(GetText(HKEY_CURRENT_USER, kMain, L"Start Page"), L"about:blank");
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, kDesktopIcon, nullptr), kClean);
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, kHttp, nullptr), kClean);
    EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, kRun, L"SoundMan"), L"<missing>");
    EXPECT_FALSE(std::filesystem::exists(SystemFile(L"dneapi.dll")));
    const std::string carried = CarriedUtility();   // without one, the utility on disk is never touched
    EXPECT_EQ(ReadWholeFile(SystemFile(L"msconfig.exe")), carried.empty() ? "the system's own utility" : carried);
    EXPECT_EQ(program.closeAndWait(), 0);
}
