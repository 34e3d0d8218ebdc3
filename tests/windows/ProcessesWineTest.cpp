// Starting programs under Wine: only from the Windows folders, never waited for.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "TestFiles.h"
#include "platform/win32/Win32Processes.h"

using namespace cc;
using namespace cc::test;

namespace {

std::string Found(const wchar_t* command) { return Upper(Narrow(FindSystemProgram(command))); }

std::string InFolder(UINT (WINAPI* query)(LPWSTR, UINT), const wchar_t* name) {
    wchar_t buffer[MAX_PATH];
    return Upper(Narrow(std::wstring(buffer, query(buffer, MAX_PATH)) + L"\\" + name));
}

bool WaitForFile(const std::string& path, int milliseconds) {
    for (int waited = 0; !Exists(Widen(path)); waited += 50, Sleep(50))   // looks at least once
        if (waited >= milliseconds) return false;
    return true;
}

TEST(Win32Processes, FindsProgramsInTheWindowsFoldersOnly) {
    EXPECT_EQ(Found(L"cmd.exe /c echo"), InFolder(GetSystemDirectoryW, L"cmd.exe"));
    EXPECT_EQ(Found(L"cmd /c echo"), InFolder(GetSystemDirectoryW, L"cmd.exe"));
    EXPECT_TRUE(Found(L"explorer.exe") == InFolder(GetSystemDirectoryW, L"explorer.exe") ||
                Found(L"explorer.exe") == InFolder(GetWindowsDirectoryW, L"explorer.exe")) << Found(L"explorer.exe");
    for (const wchar_t* elsewhere : {L"\"C:\\windows\\system32\\cmd.exe\" /c", L"..\\cmd.exe", L""})
        EXPECT_EQ(Found(elsewhere), "") << Narrow(elsewhere);

    // A program planted in the current folder is not found there.
    TempFolder temp;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(CopyFileW(Widen(InFolder(GetSystemDirectoryW, L"cmd.exe")).c_str(), (temp.wide() + L"ccplanted.exe").c_str(), 0));
    ASSERT_TRUE(SetCurrentDirectoryW(temp.wide().c_str()));
    EXPECT_EQ(Found(L"ccplanted /c echo"), "");
    EXPECT_FALSE(Win32Processes().start("ccplanted /c echo planted> planted.txt"));
    SetCurrentDirectoryW(previous);
}

TEST(Win32Processes, StartsWithoutWaitingPassesOverMissingProgramsAndWaitsAsAsked) {
    TempFolder temp;
    Win32Processes processes;
    // The command reads a pipe this test holds: it cannot finish before the test lets go (or ten seconds pass).
    const std::wstring pipe = L"\\\\.\\pipe\\cc-hold-" + std::to_wstring(GetCurrentProcessId());
    HANDLE hold = CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    HANDLE letGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    TestThread holder([&] {
        WaitForSingleObject(letGo, 10000);
        CloseHandle(hold);
    });
    const std::string done = temp.path() + "done.txt";
    EXPECT_TRUE(processes.start("cmd.exe /c type " + Narrow(pipe) + " >nul & echo done> \"" + done + "\""));
    EXPECT_FALSE(WaitForFile(done, 0)) << "start waited for the command";
    SetEvent(letGo);
    holder.join();
    CloseHandle(letGo);
    EXPECT_TRUE(WaitForFile(done, 30000)) << "the started command never ran";

    EXPECT_FALSE(processes.start("cc-no-such-program -c q"));
    EXPECT_TRUE(!FindSystemProgram(L"ntsd").empty() || !processes.start("ntsd -c q -pn SoundMan.exe"));
    const auto before = std::chrono::steady_clock::now();
    processes.wait(300);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(290));
}

}  // namespace
