#pragma once
// Where a known folder is now, read as the shell's known folder manager reads
// it, but without that manager (a COM object): from the folder descriptions
// under HKLM\...\Explorer\FolderDescriptions and the redirections under
// ...\Explorer\User Shell Folders. Special folders (CSIDLs) go through the
// known folder Windows documents as their equivalent.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace cc {

inline constexpr std::string_view kFolderDescriptions =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FolderDescriptions";

// What the resolution needs beyond the registry, from the system.
struct KnownFolderSources {
    Registry* registry = nullptr;
    // %VAR% from this program's environment. Empty: the machine's own places only, for a link outside
    // this user's profile: no per-user folder (HKCU's redirections), none that names a variable.
    std::function<std::string(std::string_view)> expand;
    std::string windows, system, systemX86;                // the system's folders; "" when it has none
};

// "{F38BF404-1D43-42F2-9305-67DE0B28FC23}" from a GUID as stored (little-endian fields).
std::string GuidText(const std::array<std::uint8_t, 16>& guid);

// The known folder of a special folder; "" when it has none, or names no file-system folder.
std::string_view KnownFolderOfCsidl(std::uint32_t csidl);

// The known folder a root item shows, from the shell folder class it stores
// (the user's folder, Documents on the computer, ...): the class itself when
// the table has no entry, as some are known folders' own GUIDs. `csidl` is the
// special folder it was before there were known folders, ~0u when none.
struct ShellFolderTarget { std::string known; std::uint32_t csidl; };
ShellFolderTarget KnownFolderOfShellFolder(std::string_view clsid);

// The folder's current path, not checked for existence; none for a virtual
// folder, one not described, or a fixed folder not known here.
std::optional<std::string> KnownFolderPath(std::string_view guid, const KnownFolderSources& sources);

}  // namespace cc
