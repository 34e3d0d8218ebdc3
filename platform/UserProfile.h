#pragma once
// The profile folder of the user this program runs as, as the system records
// it. Inside it a shortcut is the user's own, and the user's environment and
// folder redirections say where it leads, as they do for the shell. Anywhere
// else (the Public desktop, ProgramData's Start Menu, another user's profile)
// they must not: this elevated program would delete, on the user's word,
// shortcuts the user could not delete.

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace cc {

// `text` with %SystemRoot% and %SystemDrive% (any letter case) put in from the
// system's own Windows folder (`windows`, "C:\Windows"), never from the
// process's environment, which the user steers (HKCU\Environment). "" when it
// names any other variable, or one `windows` cannot give.
std::string WithSystemVariables(std::string_view text, std::string_view windows);

// ProfileImagePath of HKLM ProfileList\<sid>, WithSystemVariables; "" unless
// that gives a full path, or while the Windows folder is unknown.
std::string RecordedProfile(Registry& registry, std::string_view sid, std::string_view windows);

// Whether `path` lies inside `folder` (ASCII letters in either case); never
// inside an empty folder.
bool InsideFolder(std::string_view path, std::string_view folder);

}  // namespace cc
