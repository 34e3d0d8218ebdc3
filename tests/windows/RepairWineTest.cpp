// The browser-repair page over Wine's real registry and system folder, in the
// test prefix: each hijack planted, found, repaired and checked afterwards.
// Started programs are recorded, not run: ending and restarting the shell
// would disturb the other tests on this display.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "StandInCopy.h"
#include "TempFolder.h"
#include "app/Program.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32SystemQueries.h"
#include "repair/Detection.h"
#include "repair/HijackValues.h"
#include "ui/ControlModel.h"

using namespace cc;

namespace {

struct RecordedProcesses final : Processes {
    std::vector<std::string> started;
    bool start(std::string_view commandLine) override {
        started.emplace_back(commandLine);
        return false;   // as without the debugger
    }
    void wait(int) override {}
};

struct RepairOnWine : ::testing::Test {
    Win32FileSystem files;
    Win32Registry registry;
    RecordedProcesses processes;
    Win32SystemQueries system;
    Win32Resources resources;
    Platform platform{files, registry, processes, system, resources};
    ControlModel ui;
    Program program{ui, platform};
    const std::string systemFolder = system.QuerySystemDirectory();

    void plant(const std::string& name, const std::string& content) {
        ASSERT_TRUE(test::MakeFile(LongPath(systemFolder + name), content)) << name;
    }
    void press(HijackRow row) { ui.pressLeftButton(ControlsOf(row).link); }
    std::string lastBox() const { return ui.shownBoxes().empty() ? "" : ui.shownBoxes().back().text; }
    std::string result(HijackRow row) const { return ui.caption(ControlsOf(row).result); }
};

// The values as another program would read them, straight from the API.
std::wstring RawText(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t buffer[512]{};
    DWORD bytes = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

constexpr const wchar_t* kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST_F(RepairOnWine, EveryHijackIsFoundRepairedAndGone) {
    ASSERT_FALSE(systemFolder.empty());
    ASSERT_TRUE(registry.writeText(kStartPage, "http://hijack.example/"));
    ASSERT_TRUE(registry.writeText(kDesktopIconCommand, "\"C:\\evil\\evil.exe\" http://evil.example/"));
    ASSERT_TRUE(registry.writeText(kHttpCommand, std::string(kCleanBrowserCommand) + " -nohome"));
    ASSERT_TRUE(registry.writeText(kSoundManStartup, ""));
    ASSERT_TRUE(registry.writeText(kMsconfigStartup, "C:\\windows\\system32\\dneapi.exe"));
    plant("dneapi.dll", "planted");
    plant("SoundMan.exe", "planted");
    plant("msconfig.exe", "old utility");

    ui.click("按钮11");
    EXPECT_EQ(result(HijackRow::StartPage), "检测到您的IE首页为:http://hijack.example/");
    EXPECT_EQ(result(HijackRow::PlantedLibrary), "检测到劫持！");
    EXPECT_EQ(result(HijackRow::StartupEntry), "检测到植入！");
    EXPECT_EQ(result(HijackRow::DesktopIcon), "系统检测到您的IE被非法劫持,主页为:http://evil.example/");
    EXPECT_EQ(result(HijackRow::HttpCommand), "检测到非法劫持,当前IE首页为:-nohome");

    press(HijackRow::StartPage);
    EXPECT_EQ(lastBox(), "修复完毕.");
    EXPECT_EQ(RawText(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"Start Page"),
              L"about:blank");

    press(HijackRow::DesktopIcon);
    EXPECT_EQ(lastBox(), "修复完毕.");
    press(HijackRow::HttpCommand);
    EXPECT_EQ(lastBox(), "修复完毕.");
    const std::wstring clean = L"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"";
    EXPECT_EQ(RawText(HKEY_CLASSES_ROOT, L"CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell\\OpenHomePage\\Command",
                      nullptr),
              clean);
    EXPECT_EQ(RawText(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr), clean);

    press(HijackRow::StartupEntry);
    EXPECT_EQ(lastBox(), "修复完毕.");
    EXPECT_EQ(RawText(HKEY_LOCAL_MACHINE, kRun, L"SoundMan"), L"<missing>");
    EXPECT_FALSE(files.fileExists(systemFolder + "SoundMan.exe"));

    press(HijackRow::PlantedLibrary);
    EXPECT_EQ(lastBox(), "修复完毕.");
    EXPECT_EQ(RawText(HKEY_LOCAL_MACHINE, kRun, L"msconfig"), L"<missing>");
    EXPECT_FALSE(files.fileExists(systemFolder + "dneapi.dll"));
    EXPECT_EQ(test::ReadWholeFile(LongPath(systemFolder + "msconfig.exe")), test::StandInCopy());
    EXPECT_FALSE(files.fileExists(systemFolder + "msconfig.exe.cc-new"));
    EXPECT_EQ(processes.started, (std::vector<std::string>{"ntsd -c q -pn SoundMan.exe", "ntsd -c q -pn explorer.exe",
                                                           "explorer.exe"}));

    for (HijackRow row : {HijackRow::StartPage, HijackRow::PlantedLibrary, HijackRow::StartupEntry,
                          HijackRow::DesktopIcon, HijackRow::HttpCommand}) {
        EXPECT_EQ(result(row), "未发现异常");
        EXPECT_FALSE(ui.visible(ControlsOf(row).link));
    }
}

TEST_F(RepairOnWine, ALibraryInUseFailsAndTheOldUtilityStaysWhenItCannotBeReplaced) {
    plant("dneapi.dll", "in use");
    plant("msconfig.exe", "old utility");
    // Both held open without sharing, as a running shell and a running utility hold them.
    HANDLE library = CreateFileW(LongPath(systemFolder + "dneapi.dll").c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    HANDLE utility = CreateFileW(LongPath(systemFolder + "msconfig.exe").c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(library, INVALID_HANDLE_VALUE);
    ASSERT_NE(utility, INVALID_HANDLE_VALUE);
    ui.click("按钮11");
    press(HijackRow::PlantedLibrary);
    EXPECT_EQ(lastBox(), "修复失败请重试");
    EXPECT_EQ(result(HijackRow::PlantedLibrary), "检测到劫持！");
    EXPECT_TRUE(ui.visible(ControlsOf(HijackRow::PlantedLibrary).link));
    CloseHandle(library);
    CloseHandle(utility);
    EXPECT_EQ(test::ReadWholeFile(LongPath(systemFolder + "msconfig.exe")), "old utility");
    EXPECT_TRUE(files.deleteFile(systemFolder + "dneapi.dll"));
}

}  // namespace
