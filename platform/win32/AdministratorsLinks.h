#pragma once
// The links a folder chain may go through: those an administrator made, as
// Windows' own Redirection Guard judges them (a profile moved to another
// drive with a junction is the common case).

#include "platform/win32/FolderChain.h"

namespace cc {

class AdministratorsLinks final : public LinkTrust {
public:
    // The drive path a junction or an absolute symbolic link leads to, when it
    // and the folder holding it are owned by Administrators, SYSTEM or
    // TrustedInstaller; empty for a link the user or any other non-administrator
    // could have made, and for anything that is no link.
    std::wstring trustedTarget(HANDLE parent, std::wstring_view name) override;
};

}  // namespace cc
