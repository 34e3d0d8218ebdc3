#include "platform/win32/Win32Processes.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"

namespace cc {
namespace {

std::wstring FolderPath(UINT (WINAPI* query)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH];
    const UINT length = query(buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

// The program part of a command line: up to the first space, or quoted.
std::wstring ProgramOf(std::wstring_view commandLine) {
    if (!commandLine.empty() && commandLine.front() == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        return std::wstring(commandLine.substr(1, close == std::wstring_view::npos ? close : close - 1));
    }
    return std::wstring(commandLine.substr(0, commandLine.find(L' ')));
}

}  // namespace

std::wstring FindSystemProgram(std::wstring_view commandLine) {
    const std::wstring program = ProgramOf(commandLine);
    // A bare name only: a path would leave the Windows folders.
    if (program.empty() || program.find_first_of(L"\\/:") != std::wstring::npos) return {};
    for (const std::wstring& folder : {FolderPath(GetSystemDirectoryW), FolderPath(GetWindowsDirectoryW)}) {
        if (folder.empty()) continue;
        wchar_t found[MAX_PATH];
        const DWORD length = SearchPathW(folder.c_str(), program.c_str(), L".exe", MAX_PATH, found, nullptr);
        if (length > 0 && length < MAX_PATH) return std::wstring(found, length);
    }
    return {};
}

bool Win32Processes::start(std::string_view commandLine) {
    const std::wstring line = Widen(commandLine);
    const std::wstring program = FindSystemProgram(line);
    if (program.empty()) return false;
    std::vector<wchar_t> mutableLine(line.begin(), line.end());   // CreateProcessW may write to it
    mutableLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // No console window for a console program such as the debugger.
    if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &started))
        return false;
    // Neither waited for nor watched.
    UniqueNullableHandle process(started.hProcess);
    UniqueNullableHandle thread(started.hThread);
    return true;
}

void Win32Processes::wait(int milliseconds) {
    if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace cc
