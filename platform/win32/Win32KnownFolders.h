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

std::optional<std::string> CurrentFolderPath(const ShellFolderId& folder);

}  // namespace cc
