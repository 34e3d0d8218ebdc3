#pragma once
// Who may change the program's own folders: what an administrator saved there
// (the repairs' backups, which an administrator may import later) must not be
// rewritten by a program of the user's.

#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"

namespace cc {

struct LocalMemoryTraits {   // what the security calls give back with LocalAlloc
    using Handle = void*;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { LocalFree(h); }
};
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;

// The process's user as a SID string ("S-1-5-21-..."); empty when unknown.
std::wstring UserSid();

// Whether the open object (READ_CONTROL) is owned by Administrators, SYSTEM
// or TrustedInstaller: made by an administrator, as Windows' Redirection
// Guard judges a link.
bool OwnedByAdministrators(HANDLE object);
// The same, or owned by the process's user.
bool OwnedByUserOrAdministrators(HANDLE object);

// What the program's own folders are made with, given as they are made (an
// access list set afterwards would not take back a handle opened before it):
// owner Administrators, a protected access list (nothing inherited from
// above) of Administrators and SYSTEM full control and the process's user
// read, all three inherited by what is made in them. Making a folder with it
// takes an administrator's rights. Empty when it cannot be composed.
UniqueLocalMemory AdministratorsFolderSecurity();

}  // namespace cc
