#include "platform/win32/Win32SystemQueries.h"

#include <windows.h>
#include <shlobj.h>

#include "formats/SmbiosParser.h"
#include "platform/win32/SystemFolder.h"
#include "platform/win32/Utf.h"

namespace cc {

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

std::string Win32SystemQueries::QueryLocalAppData() {
    wchar_t buffer[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK || !buffer[0]) return {};
    std::string path = Narrow(buffer);
    if (path.back() != '\\') path.push_back('\\');
    return path;
}

LocalTime Win32SystemQueries::QueryLocalTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace cc
