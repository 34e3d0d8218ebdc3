#include "platform/win32/Win32Processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "platform/win32/NtFiles.h"
#include "platform/win32/SystemFolder.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf.h"

namespace cc {
namespace {

// The program part of a command line: up to the first space, or quoted.
std::wstring ProgramOf(std::wstring_view commandLine) {
    if (!commandLine.empty() && commandLine.front() == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        return std::wstring(commandLine.substr(1, close == std::wstring_view::npos ? close : close - 1));
    }
    return std::wstring(commandLine.substr(0, commandLine.find(L' ')));
}

// The processes of the caller's session, itself left out, whose image name is
// `imageName`. A process whose session cannot be learnt is left out too, and
// so is one that has ended (no threads) but is still held by a handle. False
// when the processes cannot be listed.
bool SessionProcessesNamed(std::wstring_view imageName, std::vector<DWORD>& found) {
    const DWORD self = GetCurrentProcessId();
    DWORD session = 0, theirs = 0;
    UniqueHfile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || !ProcessIdToSessionId(self, &session)) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID != self && entry.cntThreads > 0 && SameNameIgnoringCase(entry.szExeFile, imageName) &&
            ProcessIdToSessionId(entry.th32ProcessID, &theirs) && theirs == session)
            found.push_back(entry.th32ProcessID);
    return true;
}

std::vector<DWORD> SessionProcessesNamed(std::wstring_view imageName) {
    std::vector<DWORD> found;
    SessionProcessesNamed(imageName, found);
    return found;
}

}  // namespace

std::wstring FindSystemProgram(std::wstring_view commandLine) {
    const std::wstring program = ProgramOf(commandLine);
    // A bare name only: a path would leave the Windows folders.
    if (program.empty() || program.find_first_of(L"\\/:") != std::wstring::npos) return {};
    for (const std::wstring& folder : {SystemFolder(GetSystemDirectoryW), SystemFolder(GetWindowsDirectoryW)}) {
        if (folder.empty()) continue;
        wchar_t found[MAX_PATH];
        const DWORD length = SearchPathW(folder.c_str(), program.c_str(), L".exe", MAX_PATH, found, nullptr);
        if (length > 0 && length < MAX_PATH) return std::wstring(found, length);
    }
    return {};
}

bool UsersOwnToken(UniqueHandle& token) {
    UniqueHandle own;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, own.put())) return false;
    TOKEN_ELEVATION_TYPE elevation = TokenElevationTypeDefault;
    DWORD size = 0;
    if (!GetTokenInformation(own.get(), TokenElevationType, &elevation, sizeof elevation, &size))
        return GetLastError() == ERROR_INVALID_PARAMETER;   // NT 5.2 has no such class: no UAC
    if (elevation != TokenElevationTypeFull) return true;
    TOKEN_LINKED_TOKEN linked{};
    if (!GetTokenInformation(own.get(), TokenLinkedToken, &linked, sizeof linked, &size)) return false;
    UniqueHandle user(linked.LinkedToken);
    return DuplicateTokenEx(user.get(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY, nullptr,
                            SecurityImpersonation, TokenPrimary, token.put());
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
    UniqueHandle user;
    if (!UsersOwnToken(user)) return false;
    static const auto startAs = SystemFunction<decltype(CreateProcessWithTokenW)>(L"advapi32.dll", "CreateProcessWithTokenW");
    if (user) {   // elevated under UAC: with the user's token, through the secondary logon service
        if (!startAs || !startAs(user.get(), 0, program.c_str(), mutableLine.data(), 0, nullptr, nullptr, &startup, &started))
            return false;
    } else if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE,
                               CREATE_NO_WINDOW /* for a console program such as the debugger */, nullptr, nullptr,
                               &startup, &started)) {
        return false;
    }
    // Neither waited for nor watched.
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    return true;
}

void Win32Processes::end(std::string_view imageName) {
    // Windows XP carries the console debugger, and the program has always ended processes with it there.
    if (!FindSystemProgram(L"ntsd").empty()) {
        start("ntsd -c q -pn " + std::string(imageName));
        return;
    }
    const std::wstring name = Widen(imageName);
    std::vector<std::pair<DWORD, UniqueHandle>> opened;
    for (DWORD id : SessionProcessesNamed(name))
        if (UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)); process)
            opened.emplace_back(id, std::move(process));
    // A number listed a moment ago may have gone to another process before the
    // opening. A held handle keeps its number from moving again, so a process
    // still listed under the name now is the one that was opened.
    const std::vector<DWORD> confirmed = SessionProcessesNamed(name);
    for (auto& [id, process] : opened)
        if (std::find(confirmed.begin(), confirmed.end(), id) != confirmed.end() && TerminateProcess(process.get(), 1))
            ending_.push_back(std::move(process));
}

void Win32Processes::wait(int milliseconds) {
    const DWORD began = GetTickCount(), total = milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0;
    auto left = [&] {
        const DWORD spent = GetTickCount() - began;
        return spent < total ? total - spent : 0;
    };
    // The ended processes go within the wait, which takes its whole time as it always has.
    for (const UniqueHandle& process : ending_) WaitForSingleObject(process.get(), left());
    ending_.clear();
    Sleep(left());
}

bool Win32Processes::shellRunning() { return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }

Lookup Win32Processes::findRunning(std::string_view imageName) {
    std::vector<DWORD> found;
    if (!SessionProcessesNamed(Widen(imageName), found)) return Lookup::Failed;
    return found.empty() ? Lookup::Missing : Lookup::Found;
}

}  // namespace cc
