#pragma once
// What the browser-repair page looks at and puts back: the clean values and
// where the known hijacks live.

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace cc {

inline constexpr std::string_view kCleanStartPage = "about:blank";

// The machine's 64-bit program files folder as its own registry names it.
inline constexpr RegistryValue kProgramFilesFolder{RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                                   "ProgramFilesDir"};
// The browser's path in quotes, nothing before or after, in that folder:
// "C:\Program Files\Internet Explorer\iexplore.exe" on a standard installation.
// Never from the environment, which the user sets for their own programs, nor
// a fixed C:, where any user may make a "Program Files" when Windows is on
// another drive. Empty when the registry names no folder.
inline std::string CleanBrowserCommand(Registry& registry) {
    std::string folder = registry.readText(kProgramFilesFolder);
    if (folder.ends_with('\\')) folder.pop_back();
    return folder.empty() ? std::string() : "\"" + folder + "\\Internet Explorer\\iexplore.exe\"";
}

inline constexpr std::string_view kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

inline constexpr RegistryValue kStartPage{RegistryRoot::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Main",
                                          "Start Page"};
// The home-page command of the browser icon on the desktop.
inline constexpr RegistryValue kDesktopIconCommand{
    RegistryRoot::ClassesRoot, "CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell\\OpenHomePage\\Command", ""};
inline constexpr RegistryValue kHttpCommand{RegistryRoot::ClassesRoot, "http\\shell\\open\\command", ""};
inline constexpr RegistryValue kSoundManStartup{RegistryRoot::LocalMachine, kRunKey, "SoundMan"};
inline constexpr RegistryValue kMsconfigStartup{RegistryRoot::LocalMachine, kRunKey, "msconfig"};

// Files in the system folder.
inline constexpr std::string_view kPlantedLibrary = "dneapi.dll";
inline constexpr std::string_view kSoundManProgram = "SoundMan.exe";
inline constexpr std::string_view kMsconfigProgram = "msconfig.exe";
// The size of the System Configuration Utility copy the build may carry.
inline constexpr size_t kMsconfigBytes = 151552;

}  // namespace cc
