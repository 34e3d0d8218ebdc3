#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "formats/ShellLink.h"

namespace cc {

// Where a known or special folder is now, from the registry's folder
// descriptions (platform/KnownFolders.h): no shell call and no COM. Only where
// the system has no folder descriptions (XP x64, Server 2003) does a special
// folder come from SHGetFolderPathW, which there reads the registry itself.
// %VAR% replaced from this program's own environment; "" when it cannot be.
std::string ExpandedVariables(std::string_view text);

// `ownLink`: for a link inside this user's profile, with the user's redirections and environment;
// otherwise the machine's own places only (KnownFolderSources::expand says which).
std::optional<std::string> CurrentFolderPath(const ShellFolderId& folder, bool ownLink);

}  // namespace cc
