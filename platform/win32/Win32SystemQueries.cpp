#include "platform/win32/Win32SystemQueries.h"

#include <windows.h>

#include <optional>

#include "formats/SmbiosParser.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/SystemFolder.h"
#include "platform/win32/Utf.h"
#include "platform/UserProfile.h"

namespace cc {
namespace {

// A text value of the machine's list of profiles, as stored: a REG_EXPAND_SZ is not expanded. None when it is not
// there or is no text (its paths are at most MAX_PATH long).
std::optional<std::wstring> ProfileListText(const wchar_t* name) {
    wchar_t text[MAX_PATH];
    DWORD bytes = sizeof text;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", name,
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, text, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

}  // namespace

Win32SystemQueries::Win32SystemQueries() {
    // The first load reading is then measured from construction, not from boot.
    ReadProcessorTimes(lastTimes_);
}

BoardInfo Win32SystemQueries::QueryBoardInfo() {
    const auto table = ReadSmbiosTable();
    return ParseSmbiosBoard(table.data(), table.size());
}

CpuInfo Win32SystemQueries::QueryCpuInfo() {
    CpuInfo info = DecodeCpu(ReadCpuid());
    info.clockMhz = ReadProcessorMhz();
    return info;
}

int Win32SystemQueries::QueryCpuUsage() {
    ProcessorTimes now;
    if (!ReadProcessorTimes(now)) return 0;
    const int load = LoadPercent(lastTimes_, now);
    lastTimes_ = now;
    return load;
}

int Win32SystemQueries::QueryMemory(MemoryKind kind) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return 0;
    const DWORDLONG bytes = kind == MemoryKind::Total ? status.ullTotalPhys : status.ullAvailPhys;
    const DWORDLONG megabytes = bytes / (1024 * 1024);
    return megabytes > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(megabytes);
}

std::string Win32SystemQueries::QuerySystemDirectory() {
    std::string path = Narrow(SystemFolder(GetSystemDirectoryW));
    if (path.empty()) return {};
    if (path.back() != '\\') path.push_back('\\');
    return path;
}

std::string Win32SystemQueries::QueryCommonAppData() {
    // Vista on: ProgramData. XP and Server 2003: the All Users profile's Application Data.
    std::optional<std::wstring> folder = ProfileListText(L"ProgramData");
    if (!folder) {
        const auto profiles = ProfileListText(L"ProfilesDirectory"), allUsers = ProfileListText(L"AllUsersProfile");
        if (profiles && allUsers) folder = *profiles + L"\\" + *allUsers + L"\\Application Data";
    }
    std::string path = folder ? WithSystemVariables(Narrow(*folder), Narrow(SystemFolder(GetSystemWindowsDirectoryW))) : std::string();
    if (!path.empty() && path.back() != '\\') path.push_back('\\');
    return path;
}

std::string Win32SystemQueries::QueryUserSid() { return Narrow(UserSid()); }

LocalTime Win32SystemQueries::QueryLocalTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace cc
