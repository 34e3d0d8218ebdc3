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

// ProfileImagePath of HKLM ProfileList\<sid>, a leading %SystemDrive% or
// %SystemRoot% taken from the system's own Windows folder (`windows`,
// "C:\Windows"), never from the environment; "" unless that gives a full path.
std::string RecordedProfile(Registry& registry, std::string_view sid, std::string_view windows);

// Whether `path` lies inside `folder` (ASCII letters in either case); never
// inside an empty folder.
bool InsideFolder(std::string_view path, std::string_view folder);

}  // namespace cc
