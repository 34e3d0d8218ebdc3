// The browser-repair page in the real window: hijacks planted in the test
// prefix's registry and system folder, found by a scan and shown whole,
// repaired link by link, and undone from the repairs' backups.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>
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

// A value's type and bytes as the registry holds them (64-bit view); none when it is not there.
using Raw = std::optional<std::pair<DWORD, std::vector<BYTE>>>;
Raw ReadRaw(HKEY root, const wchar_t* key, const wchar_t* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened)) return std::nullopt;
    DWORD type = 0, size = 0;
    Raw raw;
    if (!RegQueryValueExW(opened, name, nullptr, &type, nullptr, &size)) {
        std::vector<BYTE> data(size);
        if (!RegQueryValueExW(opened, name, nullptr, &type, data.data(), &size)) raw.emplace(type, std::move(data));
    }
    RegCloseKey(opened);
    return raw;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened)) return false;
    return RegCloseKey(opened), true;
}

std::wstring BackupRoot() {
    wchar_t local[MAX_PATH]{};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
    return std::wstring(local) + L"\\澄川清理助手\\备份";
}

std::set<std::wstring> Entries(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do if (found.cFileName[0] != L'.') names.insert(found.cFileName); while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

DWORD RunAndWait(std::wstring command) {
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) return ~0u;
    WaitForSingleObject(started.hProcess, 60000);
    DWORD code = ~0u;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hThread), CloseHandle(started.hProcess);
    return code;
}

// The processes of this image name.
std::vector<PROCESSENTRY32W> Named(const wchar_t* name) {
    std::vector<PROCESSENTRY32W> found;
    HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof entry};
    for (BOOL more = Process32FirstW(all, &entry); more; more = Process32NextW(all, &entry))
        if (!lstrcmpiW(entry.szExeFile, name)) found.push_back(entry);
    CloseHandle(all);
    return found;
}

// Ends a shell the program started: under Wine it is a folder window, which would also hold the
// test's output open.
void EndShells(const std::vector<PROCESSENTRY32W>& shells) {
    for (const PROCESSENTRY32W& shell : shells)
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, shell.th32ProcessID)) TerminateProcess(process, 0), CloseHandle(process);
}

// Presses a row's link: the repair must say it is done, and the scan after it clear the row.
void Repair(ProgramDriver& driver, int i) {
    driver.clickControl(driver.control(kRows[i].link));
    EXPECT_EQ(driver.answerNextBox(IDOK), L"修复完毕.") << i;
    EXPECT_TRUE(driver.waitForText(driver.control(kRows[i].result), L"未发现异常", 5000)) << i;
    EXPECT_FALSE(IsWindowVisible(driver.control(kRows[i].link))) << i;
}

// The five verdicts after a click on the scan button of a freshly started program.
std::vector<std::wstring> Verdicts(ProgramDriver& program) {
    program.clickControl(program.control("按钮11"));
    std::vector<std::wstring> texts;
    for (const Row& row : kRows) {
        WaitFor([&] { return !program.text(program.control(row.result)).empty(); }, 10000);
        texts.push_back(program.text(program.control(row.result)));
    }
    return texts;
}

}  // namespace

// Hijacks of odd types, found and shown whole, repaired link by link; each repair saved what it
// changed first, so importing its undo file with regedit and copying its files back brings every
// finding back, value for value and byte for byte.
TEST(RepairEndToEnd, FindsRepairsAndUndoesEveryHijack) {
    const std::wstring iconKey(kDesktopIcon), openHomePage = iconKey.substr(0, iconKey.rfind(L'\\'));
    SHDeleteKeyW(HKEY_CLASSES_ROOT, openHomePage.c_str());   // no command key at all
    const std::wstring page = L"%SystemDrive%\\hijack.html";
    const DWORD soundMan = 7;
    const std::wstring http = L"\"C:\\evil.exe\" \"%1\" http://evil.example/";
    ASSERT_TRUE(SetRegistryValue(HKEY_CURRENT_USER, kMain, L"Start Page", REG_EXPAND_SZ, page.c_str(), DWORD((page.size() + 1) * 2)));
    ASSERT_TRUE(SetText(HKEY_CLASSES_ROOT, kHttp, nullptr, http));
    ASSERT_TRUE(SetRegistryValue(HKEY_LOCAL_MACHINE, kRun, L"SoundMan", REG_DWORD, &soundMan, sizeof soundMan));
    const std::string library("MZ\0planted library", 19);
    ASSERT_TRUE(MakeFile(SystemFile(L"dneapi.dll"), library));
    const WaitingProgram soundManProcess(SystemFile(L"SoundMan.exe"));   // running, so its file is held
    const std::string program = ReadWholeFile(SystemFile(L"SoundMan.exe"));
    ASSERT_TRUE(soundManProcess.running());
    const std::pair<HKEY, std::pair<const wchar_t*, const wchar_t*>> values[] = {{HKEY_CURRENT_USER, {kMain, L"Start Page"}},
        {HKEY_CLASSES_ROOT, {kHttp, nullptr}}, {HKEY_LOCAL_MACHINE, {kRun, L"SoundMan"}}, {HKEY_LOCAL_MACHINE, {kRun, L"msconfig"}},
        {HKEY_CLASSES_ROOT, {kDesktopIcon, nullptr}}};
    std::vector<Raw> before;
    for (const auto& [root, where] : values) before.push_back(ReadRaw(root, where.first, where.second));
    const std::set<std::wstring> earlier = Entries(BackupRoot());

    std::vector<std::wstring> found;
    {
        ProgramDriver driver(gProgram, gScreenshots);
        ASSERT_TRUE(driver.start());
        driver.openPage("高级选择夹1", 4);
        for (const Row& row : kRows) EXPECT_FALSE(IsWindowVisible(driver.control(row.link))) << row.link;
        found = Verdicts(driver);
        EXPECT_EQ(found, (std::vector<std::wstring>{L"检测到您的IE首页为:" + page, L"检测到劫持！", L"检测到植入！",
                                                    L"系统检测到您的IE被非法劫持,主页为:", L"检测到非法劫持,当前IE首页为:http://evil.example/"}));
        driver.settle();
        for (const Row& row : kRows) {
            EXPECT_TRUE(IsWindowVisible(driver.control(row.link))) << row.link;
            EXPECT_EQ(IconLook(driver.control(row.icon)), 'R') << row.icon;
            EXPECT_TRUE(FirstColumnHasInk(driver.control(row.result))) << row.result;
        }
        driver.screenshot(L"repair_findings");
        for (int i : {0, 2, 3, 4}) Repair(driver, i);
        EXPECT_FALSE(soundManProcess.running());
        driver.settle();
        for (int i : {0, 2, 3, 4}) EXPECT_EQ(IconLook(driver.control(kRows[i].icon)), 'G') << kRows[i].icon;
        driver.screenshot(L"repair_clean");
        // The library last: the shell it starts again may cover the window. The shell running now
        // (Wine's desktop process) is ended and, as Wine never restarts it, started once again.
        const std::vector<PROCESSENTRY32W> shells = Named(L"explorer.exe");
        ASSERT_FALSE(shells.empty());
        Repair(driver, 1);
        const std::vector<PROCESSENTRY32W> after = Named(L"explorer.exe");
        EXPECT_EQ(after.size(), 1u);
        for (const PROCESSENTRY32W& started : after) {
            EXPECT_EQ(started.th32ParentProcessID, GetProcessId(driver.process()));
            for (const PROCESSENTRY32W& shell : shells) EXPECT_NE(shell.th32ProcessID, started.th32ProcessID);
        }
        EXPECT_EQ(driver.closeAndWait(), 0);
        EndShells(after);
    }
    EXPECT_FALSE(Exists(SystemFile(L"dneapi.dll")) || Exists(SystemFile(L"SoundMan.exe")));
    EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, kMain, L"Start Page")->first, DWORD(REG_SZ));

    std::set<std::wstring> made = Entries(BackupRoot());
    for (const std::wstring& name : earlier) made.erase(name);
    ASSERT_EQ(made.size(), 5u);
    for (const std::wstring& name : made) {
        const std::wstring folder = BackupRoot() + L"\\" + name;
        for (const std::wstring& file : Entries(folder)) {
            if (file == L"undo.reg") EXPECT_EQ(RunAndWait(L"regedit.exe /s \"" + folder + L"\\undo.reg\""), 0u) << name;
            else if (file != L"readme.txt") EXPECT_TRUE(CopyFileW((folder + L"\\" + file).c_str(), SystemFile(file.c_str()).c_str(), TRUE)) << file;
        }
    }
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(ReadRaw(values[i].first, values[i].second.first, values[i].second.second), before[i]) << i;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, openHomePage));
    EXPECT_EQ(ReadWholeFile(SystemFile(L"dneapi.dll")) + ReadWholeFile(SystemFile(L"SoundMan.exe")), library + program);
    {
        ProgramDriver driver(gProgram, gScreenshots);
        ASSERT_TRUE(driver.start());
        driver.openPage("高级选择夹1", 4);
        EXPECT_EQ(Verdicts(driver), found);

        // A shell that is there at the end of the wait (Windows may restart it by itself) is not started again.
        WNDCLASSW tray{};
        tray.lpfnWndProc = DefWindowProcW, tray.lpszClassName = L"Shell_TrayWnd";
        HWND shell = CreateWindowExW(0, MAKEINTATOM(RegisterClassW(&tray)), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(shell, nullptr);
        Repair(driver, 1);
        const std::vector<PROCESSENTRY32W> started = Named(L"explorer.exe");
        EXPECT_TRUE(started.empty());
        EndShells(started), DestroyWindow(shell);

        // A backup that cannot be written: the repair changes nothing and says it failed.
        const std::wstring aside = BackupRoot() + L".aside";
        ASSERT_TRUE(MoveFileW(BackupRoot().c_str(), aside.c_str()) && MakeFile(BackupRoot(), "in the way"));
        driver.clickControl(driver.control(kRows[0].link));
        EXPECT_EQ(driver.answerNextBox(IDOK), L"修复失败请重试");
        EXPECT_EQ(ReadRaw(values[0].first, values[0].second.first, values[0].second.second), before[0]);
        EXPECT_EQ(driver.closeAndWait(), 0);
        DeleteFileW(BackupRoot().c_str()), MoveFileW(aside.c_str(), BackupRoot().c_str());
    }
    DeleteFileW(SystemFile(L"dneapi.dll").c_str()), DeleteFileW(SystemFile(L"SoundMan.exe").c_str());
    HKEY run = nullptr;
    if (!RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRun, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &run))
        RegDeleteValueW(run, L"SoundMan"), RegCloseKey(run);
}
