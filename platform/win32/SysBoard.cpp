// The raw SMBIOS table from the firmware-table call.
#include <windows.h>

#include "platform/win32/Win32SystemQueries.h"

namespace cc {

std::vector<std::uint8_t> ReadSmbiosTable() {
    constexpr DWORD kRsmb = ('R' << 24) | ('S' << 16) | ('M' << 8) | 'B';
    const UINT needed = GetSystemFirmwareTable(kRsmb, 0, nullptr, 0);
    if (needed == 0) return {};
    std::vector<std::uint8_t> table(needed);
    const UINT got = GetSystemFirmwareTable(kRsmb, 0, table.data(), needed);
    if (got == 0 || got > needed) return {};
    table.resize(got);
    return table;
}

}  // namespace cc
