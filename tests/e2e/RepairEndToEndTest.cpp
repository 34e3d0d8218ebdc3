// The browser-repair page in the real window: hijacks planted in the test
// prefix's registry and system folder, found by a scan, repaired link by link
// with every outcome box answered, and checked on disk and in the registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <set>
#include <string>
#include <vector>

#include "ModalBoxes.h"
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
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS) return false;
    const bool ok = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return ok;
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
    if (!exe) return {};
    std::string copy;
    if (HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(IDR_MSCONFIG), MAKEINTRESOURCEW(10))) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(exe, found)));
        if (bytes) copy.assign(bytes, SizeofResource(exe, found));
    }
    FreeLibrary(exe);
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
    for (DWORD id : ExplorerProcesses()) {
        if (before.count(id)) continue;
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

// The status icon's look, from the screen: the shield is red, the tick square green.
enum class Look { Found, Clear, Other };
Look IconLook(HWND icon) {
    const RECT r = ProgramDriver::screenRect(icon);
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, r.left + 4, r.top + 5);
    ReleaseDC(nullptr, screen);
    const int red = GetRValue(pixel), green = GetGValue(pixel);
    if (red > green + 40) return Look::Found;
    if (green > red + 40) return Look::Clear;
    return Look::Other;
}

struct Row {
    const char* result;
    const char* icon;
    const char* link;
};
const Row kStartPage{"标签13", "图片框17", "超级链接框1"};
const Row kLibrary{"标签14", "图片框18", "超级链接框2"};
const Row kStartup{"标签16", "图片框19", "超级链接框3"};
const Row kDesktop{"标签15", "图片框20", "超级链接框4"};
const Row kHttpRow{"标签17", "图片框21", "超级链接框5"};
const Row kRows[] = {kStartPage, kLibrary, kStartup, kDesktop, kHttpRow};

// Presses the row's link and answers the box; the box's text.
std::wstring Repair(ProgramDriver& program, const Row& row) {
    program.clickControl(program.control(row.link));
    HWND box = WaitForModalBox(program.processId());
    if (!box) return L"<no box>";
    const std::wstring text = ModalBoxText(box);
    EXPECT_EQ(ModalBoxCaption(box), L"澄川清理助手");
    AnswerModalBox(box, IDOK);
    for (int waited = 0; IsWindow(box) && waited < 5000; waited += 50) Sleep(50);
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
    ASSERT_TRUE(program.waitForText(program.control(kStartPage.result), L"检测到您的IE首页为:http://hijack.example/", 10000))
        << "row 1 reads: " << cc::Narrow(program.text(program.control(kStartPage.result)));
    program.settle();
    EXPECT_EQ(program.text(program.control(kLibrary.result)), L"检测到劫持！");
    EXPECT_EQ(program.text(program.control(kStartup.result)), L"检测到植入！");
    EXPECT_EQ(program.text(program.control(kDesktop.result)), L"系统检测到您的IE被非法劫持,主页为:http://evil.example/");
    EXPECT_EQ(program.text(program.control(kHttpRow.result)), L"检测到非法劫持,当前IE首页为:-nohome");
    for (const Row& row : kRows) {
        EXPECT_TRUE(IsWindowVisible(program.control(row.link))) << row.link;
        EXPECT_EQ(IconLook(program.control(row.icon)), Look::Found) << row.icon;
    }
    program.screenshot(L"repair_findings");

    // The library in use: the repair fails and its link comes back.
    const std::set<DWORD> shells = ExplorerProcesses();
    HANDLE held = CreateFileW(SystemFile(L"dneapi.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Repair(program, kLibrary), L"修复失败请重试");
    EXPECT_TRUE(IsWindowVisible(program.control(kLibrary.link)));
    EXPECT_EQ(program.text(program.control(kLibrary.result)), L"检测到劫持！");
    CloseHandle(held);

    for (const Row& row : {kStartPage, kDesktop, kHttpRow, kStartup, kLibrary}) {
        EXPECT_EQ(Repair(program, row), L"修复完毕.") << row.link;
        EXPECT_TRUE(program.waitForText(program.control(row.result), L"未发现异常", 5000)) << row.result;
        EXPECT_FALSE(IsWindowVisible(program.control(row.link))) << row.link;
    }
    EndShellsStartedSince(shells);
    SetForegroundWindow(program.window());
    program.settle(500);
    for (const Row& row : kRows) EXPECT_EQ(IconLook(program.control(row.icon)), Look::Clear) << row.icon;
    program.screenshot(L"repair_clean");

    EXPECT_EQ(GetText(HKEY_CURRENT_USER, kMain, L"Start Page"), L"about:blank");
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, kDesktopIcon, nullptr), kClean);
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, kHttp, nullptr), kClean);
    EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, kRun, L"SoundMan"), L"<missing>");
    EXPECT_EQ(GetFileAttributesW(SystemFile(L"dneapi.dll").c_str()), INVALID_FILE_ATTRIBUTES);
    // Without a carried copy the utility on disk is never touched.
    const std::string carried = CarriedUtility();
    EXPECT_EQ(ReadWholeFile(SystemFile(L"msconfig.exe")), carried.empty() ? "the system's own utility" : carried);

    EXPECT_EQ(program.closeAndWait(), 0);
}
