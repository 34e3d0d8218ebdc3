// Starting programs under Wine: only from the Windows folders, never waited for, with the user's own token; whether a shell runs.
// Ending processes by image name: all of the user's of that name and nothing else.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <chrono>

#include "TestFiles.h"
#include "platform/win32/Win32Processes.h"

using namespace cc;
using namespace cc::test;
using Clock = std::chrono::steady_clock;

namespace {

std::string Found(const wchar_t* command) { return Upper(Narrow(FindSystemProgram(command))); }
std::string InFolder(UINT(WINAPI* query)(LPWSTR, UINT), const wchar_t* name) {
    wchar_t buffer[MAX_PATH];
    return Upper(Narrow(std::wstring(buffer, query(buffer, MAX_PATH)) + L"\\" + name));
}

// Copied into the system folder as ntsd.exe, this test program stands in for the debugger of
// Windows XP: it writes down its command line where CC_NTSD_LOG says, and ends at once. The
// note is written beside and then renamed, so that the test never reads it half written.
const bool kStandsInForNtsd = [] {
    wchar_t self[MAX_PATH], log[MAX_PATH];
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH) || lstrcmpiW(PathFindFileNameW(self), L"ntsd.exe")) return false;
    if (GetEnvironmentVariableW(L"CC_NTSD_LOG", log, MAX_PATH) && MakeFile(std::wstring(log) + L".part", Narrow(GetCommandLineW())))
        MoveFileW((std::wstring(log) + L".part").c_str(), log);
    ExitProcess(0);
}();

struct Planted {   // a file this test put in the system folder, removed again whatever happens
    std::wstring path;
    ~Planted() { for (int tries = 0; !DeleteFileW(path.c_str()) && Exists(path) && tries < 200; ++tries) Sleep(50); }
};
bool WaitForFile(const std::wstring& path, int milliseconds) {
    for (int waited = 0; !Exists(path); waited += 50, Sleep(50))   // looks at least once
        if (waited >= milliseconds) return false;
    return true;
}

}  // namespace
TEST(Win32Processes, FindsAndStartsProgramsInTheWindowsFoldersOnlyWithoutWaiting) {
    const std::string cmd = InFolder(GetSystemDirectoryW, L"cmd.exe");
    EXPECT_EQ(Found(L"cmd.exe /c echo"), cmd);
    EXPECT_EQ(Found(L"cmd /c echo"), cmd);
    for (const wchar_t* elsewhere : {L"\"C:\\windows\\system32\\cmd.exe\" /c", L"..\\cmd.exe", L""}) EXPECT_EQ(Found(elsewhere), "") << Narrow(elsewhere);
    // A program planted in the current folder is not found there.
    TempFolder temp;
    Win32Processes processes;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(CopyFileW(Widen(cmd).c_str(), (temp.wide() + L"ccplanted.exe").c_str(), 0));
    ASSERT_TRUE(SetCurrentDirectoryW(temp.wide().c_str()));
    EXPECT_EQ(Found(L"ccplanted /c echo"), "");
    EXPECT_FALSE(processes.start("ccplanted /c echo planted> planted.txt"));
    SetCurrentDirectoryW(previous);
    // The command reads a pipe this test holds: it cannot finish before the test lets go (or ten seconds pass).
    const std::wstring pipe = L"\\\\.\\pipe\\cc-hold-" + std::to_wstring(GetCurrentProcessId()), done = temp.wide() + L"done.txt";
    HANDLE pipeAndLetGo[] = {CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr),
                             CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ASSERT_NE(pipeAndLetGo[0], INVALID_HANDLE_VALUE);
    UniqueHandle letGo(pipeAndLetGo[1]), holder(CreateThread(nullptr, 0, [](void* handles) -> DWORD {
        return WaitForSingleObject(static_cast<HANDLE*>(handles)[1], 10000), CloseHandle(static_cast<HANDLE*>(handles)[0]), 0;
    }, pipeAndLetGo, 0, nullptr));
    EXPECT_TRUE(processes.start("cmd.exe /c type " + Narrow(pipe) + " >nul & echo done> \"" + temp.path() + "done.txt\""));
    EXPECT_FALSE(WaitForFile(done, 0)) << "start waited for the command";
    SetEvent(letGo.get());
    WaitForSingleObject(holder.get(), INFINITE);
    EXPECT_TRUE(WaitForFile(done, 30000)) << "the started command never ran";
    // A shell is there while a taskbar window is: a repair that ended it then starts no second one.
    const WNDCLASSW tray{0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"Shell_TrayWnd"};
    RegisterClassW(&tray);
    HWND taskbar = CreateWindowExW(0, tray.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, tray.hInstance, nullptr);
    EXPECT_TRUE(taskbar && processes.shellRunning());
    DestroyWindow(taskbar);
    // Wine runs every program elevated under its UAC, this one too: one it starts gets the linked token, unelevated
    // and primary. (Wine's CreateProcessWithTokenW then ignores it.)
    UniqueHandle own, user;
    auto info = [](HANDLE token, TOKEN_INFORMATION_CLASS what) { DWORD value = 0, size = 0; return GetTokenInformation(token, what, &value, 4, &size) ? value : 99; };
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, own.put()) && info(own.get(), TokenElevationType) == TokenElevationTypeFull &&
                UsersOwnToken(user) && user);
    EXPECT_EQ(info(user.get(), TokenElevation), 0u);   // not elevated
    EXPECT_EQ(info(user.get(), TokenType), DWORD(TokenPrimary));
}
TEST(Win32Processes, EndsEveryProcessOfTheNameAndNoOtherWithinTheWait) {
    TempFolder temp;
    ASSERT_TRUE(CreateDirectoryW((temp.wide() + L"b").c_str(), nullptr));
    const std::pair<const wchar_t*, bool> cases[] = {   // the program's file, and whether it is one to end
        {L"SoundMan.exe", true}, {L"b\\sOUNDmAN.EXE", true}, {L"XSoundMan.exe", false}, {L"SoundMan.exe.old", false}};
    std::vector<std::unique_ptr<WaitingProgram>> running;
    for (const auto& [name, ended] : cases) {
        running.push_back(std::make_unique<WaitingProgram>(Widen(temp.path()) + name));
        ASSERT_TRUE(running.back()->running()) << Narrow(name);
    }
    Win32Processes processes;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(processes.findRunning("soundman.EXE"), Lookup::Found);
    processes.end(Narrow(PathFindFileNameW(self)));   // never itself
    processes.end("SoundMan.exe");
    const auto before = Clock::now();
    processes.wait(1000);   // its whole time, though the ended ones go at once
    EXPECT_GE(Clock::now() - before, std::chrono::milliseconds(990));
    for (size_t i = 0; i < running.size(); ++i) EXPECT_EQ(running[i]->running(), !cases[i].second) << Narrow(cases[i].first);
    EXPECT_EQ(processes.findRunning("SoundMan.exe"), Lookup::Missing);   // ended, though the test still holds them
    // Where the debugger of Windows XP is, it ends them, as it always has there.
    const Planted ntsd{Widen(InFolder(GetSystemDirectoryW, L"ntsd.exe"))};
    const std::wstring log = temp.wide() + L"ntsd.txt";
    ASSERT_TRUE(CopyFileW(self, ntsd.path.c_str(), TRUE));
    SetEnvironmentVariableW(L"CC_NTSD_LOG", log.c_str());
    WaitingProgram soundMan(Widen(temp.path()) + L"SoundMan.exe");
    processes.end("SoundMan.exe");
    EXPECT_TRUE(WaitForFile(log, 30000));
    EXPECT_EQ(ReadWholeFile(log), "ntsd -c q -pn SoundMan.exe");
    EXPECT_TRUE(soundMan.running());
}
