// The browser-repair page in the real window: hijacks of odd types planted in the test prefix's registry
// and system folder, found by a scan and shown whole, repaired link by link, and undone from the repairs'
// backups: importing each undo file with regedit and copying its files back brings every finding back,
// value for value and byte for byte. A key that denies reading is never shown clear.
#include <gtest/gtest.h>
#include <sddl.h>
#include <shlwapi.h>
#include <process.h>
#include <tlhelp32.h>

#include <optional>
#include <set>

#include "ProgramDriver.h"
#include "platform/win32/FolderSecurity.h"
#include "tests/windows/TestFiles.h"

using namespace cc::test;

namespace {

std::wstring SystemFile(const std::wstring& name) {
    wchar_t folder[MAX_PATH]{};
    return GetSystemDirectoryW(folder, MAX_PATH), folder + (L"\\" + name);
}
// Every backup folder of this user: below the machine's application data, in the program's folder or, where one of
// its name was there already and is not judged the administrators' (Wine reports every file the user's), in the
// next of its numbered names.
std::set<std::wstring> Backups() {
    wchar_t data[MAX_PATH]{};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, data);
    std::set<std::wstring> backups;
    ForEachIn(data + std::wstring(L"\\"), [&](const std::wstring& own, const WIN32_FIND_DATAW& entry) {
        if (std::wstring_view(entry.cFileName).starts_with(L"澄川清理助手"))
            ForEachIn(own + L"\\备份\\" + cc::UserSid() + L"\\", [&](const std::wstring& path, const WIN32_FIND_DATAW&) { backups.insert(path); });
    });
    return backups;
}

// The status icon from the screen: the shield is red, the tick green.
char IconLook(HWND icon) {
    const COLORREF pixel = ScreenPixel({ScreenRect(icon).left + 4, ScreenRect(icon).top + 5});
    return GetRValue(pixel) > GetGValue(pixel) + 40 ? 'R' : GetGValue(pixel) > GetRValue(pixel) + 40 ? 'G' : '?';
}

struct Row { const char *result, *icon, *link; };
const Row kRows[] = {{"标签13", "图片框17", "超级链接框1"}, {"标签14", "图片框18", "超级链接框2"}, {"标签16", "图片框19", "超级链接框3"},
                     {"标签15", "图片框20", "超级链接框4"}, {"标签17", "图片框21", "超级链接框5"}};

// A value's type and bytes as the registry holds them (64-bit view); none when it is not there.
using Raw = std::optional<std::pair<DWORD, std::vector<BYTE>>>;
Raw ReadRaw(HKEY root, const wchar_t* key, const wchar_t* name) {
    cc::UniqueKey opened;
    DWORD type = 0, size = 65536;
    std::vector<BYTE> data(size);
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, opened.put()) ||
        RegQueryValueExW(opened.get(), name, nullptr, &type, data.data(), &size)) return std::nullopt;
    return data.resize(size), Raw{{type, data}};
}

// The parent of each running shell; `end` ends them (under Wine a shell the program started is a folder
// window, which would also hold the test's output open).
std::vector<DWORD> ShellParents(bool end = false) {
    std::vector<DWORD> parents;
    HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof entry};
    for (BOOL more = Process32FirstW(all, &entry); more; more = Process32NextW(all, &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"explorer.exe")) continue;
        parents.push_back(entry.th32ParentProcessID);
        if (end) TerminateProcess(cc::UniqueHandle(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID)).get(), 0);
    }
    return CloseHandle(all), parents;
}

bool SetKeyAccess(HKEY root, const wchar_t* path, const wchar_t* sddl) {
    cc::UniqueKey key;
    PSECURITY_DESCRIPTOR list = nullptr;
    const bool set = !RegOpenKeyExW(root, path, 0, WRITE_DAC | KEY_WOW64_64KEY, key.put()) &&
                     ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &list, nullptr) &&
                     !RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, list);
    return LocalFree(list), set;
}

// A click on a row's link: the repair must say it is done, and the scan after it clear the row.
void Repair(ProgramDriver& program, int i) {
    program.click(kRows[i].link);
    EXPECT_EQ(program.answerBox(IDOK), L"修复完毕.") << i;
    EXPECT_TRUE(program.waitForText(program.control(kRows[i].result), L"未发现异常", 5000)) << i;
}

}  // namespace

TEST(RepairEndToEnd, FindsRepairsAndUndoesEveryHijack) {
    constexpr const wchar_t *kMain = L"Software\\Microsoft\\Internet Explorer\\Main", *kHttp = L"http\\shell\\open\\command",
                            *kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::wstring openHomePage = L"CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell\\OpenHomePage";
    const std::wstring icon = openHomePage + L"\\Command", page = L"%SystemDrive%\\hijack.html",
                       http = L"\"C:\\evil.exe\" \"%1\" http://evil.example/";
    const DWORD soundMan = 7;
    SHDeleteKeyW(HKEY_CLASSES_ROOT, openHomePage.c_str());   // no command key at all
    ASSERT_TRUE(SetRegistryValue(HKEY_CURRENT_USER, kMain, L"Start Page", REG_EXPAND_SZ, page.c_str(), DWORD((page.size() + 1) * 2)));
    ASSERT_TRUE(SetRegistryValue(HKEY_CLASSES_ROOT, kHttp, nullptr, REG_SZ, http.c_str(), DWORD((http.size() + 1) * 2)));
    ASSERT_TRUE(SetRegistryValue(HKEY_LOCAL_MACHINE, kRun, L"SoundMan", REG_DWORD, &soundMan, sizeof soundMan));
    const std::string library("MZ\0planted library", 19);
    ASSERT_TRUE(MakeFile(SystemFile(L"dneapi.dll"), library));
    const WaitingProgram soundManProcess(SystemFile(L"SoundMan.exe"));   // running, so its file is held
    const std::string program = ReadWholeFile(SystemFile(L"SoundMan.exe"));
    ASSERT_TRUE(soundManProcess.running());
    const std::tuple<HKEY, const wchar_t*, const wchar_t*> values[] = {{HKEY_CURRENT_USER, kMain, L"Start Page"},
        {HKEY_CLASSES_ROOT, kHttp, nullptr}, {HKEY_LOCAL_MACHINE, kRun, L"SoundMan"}, {HKEY_LOCAL_MACHINE, kRun, L"msconfig"},
        {HKEY_CLASSES_ROOT, icon.c_str(), nullptr}};
    auto read = [&] { std::vector<Raw> raw; for (auto [root, key, name] : values) raw.push_back(ReadRaw(root, key, name)); return raw; };
    const std::vector<Raw> before = read();
    const std::set<std::wstring> earlier = Backups();
    {
        ProgramDriver driver;
        ASSERT_TRUE(driver.start());
        driver.openPage("高级选择夹1", 4);
        for (const Row& row : kRows) EXPECT_FALSE(IsWindowVisible(driver.control(row.link))) << row.link;
        driver.click("按钮11");   // 扫描IE
        std::vector<std::wstring> found;
        for (const Row& row : kRows) WaitFor([&] { return !driver.text(row.result).empty(); }, 10000), found.push_back(driver.text(row.result));
        EXPECT_EQ(found, (std::vector<std::wstring>{L"检测到您的IE首页为:" + page, L"检测到劫持！", L"检测到植入！",
                                                    L"系统检测到您的IE被非法劫持,主页为:", L"检测到非法劫持,当前IE首页为:http://evil.example/"}));
        driver.settle();
        driver.screenshot(L"repair_found");
        for (const Row& row : kRows) {
            EXPECT_TRUE(IsWindowVisible(driver.control(row.link))) << row.link;
            EXPECT_EQ(IconLook(driver.control(row.icon)), 'R') << row.icon;
            // The first text column shows whole, not under the caption label that reaches 3 pixels into the row.
            const RECT r = ScreenRect(driver.control(row.result));
            bool ink = false;
            for (int x = r.left; x < r.left + 3; ++x)
                for (int y = r.top; y < r.bottom; ++y) ink = ink || ScreenPixel({x, y}) != RGB(255, 255, 255);
            EXPECT_TRUE(ink) << row.result;
        }
        for (int i : {0, 2, 3, 4}) Repair(driver, i);
        EXPECT_FALSE(soundManProcess.running());
        driver.settle();
        for (int i : {0, 2, 3, 4}) EXPECT_EQ(IconLook(driver.control(kRows[i].icon)), 'G') << kRows[i].icon;
        // The start page's key now denies everyone reading it, administrators too: never clear, no repair offered.
        ASSERT_TRUE(SetKeyAccess(HKEY_CURRENT_USER, kMain, L"D:(D;;KR;;;WD)(A;;KA;;;WD)"));
        driver.click("按钮11");
        EXPECT_TRUE(driver.waitForText(driver.control(kRows[0].result), L"无法检测", 5000));
        driver.settle();
        EXPECT_TRUE(IconLook(driver.control(kRows[0].icon)) == 'R' && !IsWindowVisible(driver.control(kRows[0].link)));
        ASSERT_TRUE(SetKeyAccess(HKEY_CURRENT_USER, kMain, L"D:(A;;KA;;;WD)"));
        // The library last: the shell it starts again may cover the window. The shell running now
        // (Wine's desktop process) is ended and, as Wine never restarts it, started once again: the only one.
        Repair(driver, 1);
        EXPECT_EQ(ShellParents(), std::vector<DWORD>{GetProcessId(driver.process())});
        EXPECT_EQ(driver.closeAndWait(), 0);
        ShellParents(true);
    }
    EXPECT_FALSE(Exists(SystemFile(L"dneapi.dll")) || Exists(SystemFile(L"SoundMan.exe")));
    std::set<std::wstring> made = Backups();
    for (const std::wstring& folder : earlier) made.erase(folder);
    ASSERT_EQ(made.size(), 5u);
    for (const std::wstring& folder : made)   // regedit imports each undo file; the files are copied back
        ForEachIn(folder + L"\\", [&](const std::wstring& path, const WIN32_FIND_DATAW& entry) {
            const std::wstring file = entry.cFileName, quoted = L"\"" + path + L"\"", regedit = SystemFile(L"..\\regedit.exe");
            if (file == L"undo.reg") EXPECT_EQ(_wspawnl(_P_WAIT, regedit.c_str(), L"regedit", L"/s", quoted.c_str(), nullptr), 0);
            EXPECT_TRUE(file == L"undo.reg" || file == L"readme.txt" || CopyFileW(path.c_str(), SystemFile(file).c_str(), TRUE)) << path;
        });
    EXPECT_EQ(read(), before);
    cc::UniqueKey created;   // the key the repair created is gone again
    EXPECT_NE(RegOpenKeyExW(HKEY_CLASSES_ROOT, openHomePage.c_str(), 0, KEY_READ, created.put()), ERROR_SUCCESS);
    EXPECT_EQ(ReadWholeFile(SystemFile(L"dneapi.dll")) + ReadWholeFile(SystemFile(L"SoundMan.exe")), library + program);
    DeleteFileW(SystemFile(L"dneapi.dll").c_str()), DeleteFileW(SystemFile(L"SoundMan.exe").c_str());
    SHDeleteValueW(HKEY_LOCAL_MACHINE, kRun, L"SoundMan");
}
