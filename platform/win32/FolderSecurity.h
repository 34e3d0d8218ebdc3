#pragma once
// Who may change the program's own folders: what an administrator saved there
// (the repairs' backups, which an administrator may import later) must not be
// rewritten by a program of the user's.

#include <windows.h>

#include <string>

namespace cc {

// The process's user as a SID string ("S-1-5-21-..."); empty when unknown.
std::wstring UserSid();

// Whether this process runs with the Administrators group in force (elevated
// under UAC, or an administrator of XP).
bool RunsAsAdministrator();

// Whether the open object (READ_CONTROL) is owned by Administrators, SYSTEM
// or TrustedInstaller: made by an administrator, as Windows' Redirection
// Guard judges a link.
bool OwnedByAdministrators(HANDLE object);

// Makes the open folder's access list protected (nothing inherited from
// above): Administrators and SYSTEM full control, the process's user read,
// all three inherited by what is made in it; its owner Administrators. Set
// on this very folder only, through its handle (READ_CONTROL, WRITE_DAC and
// WRITE_OWNER), never passed on by name to what is in it already.
bool RestrictToAdministrators(HANDLE folder);

}  // namespace cc
