#include "repair/Repairs.h"

#include "repair/HijackValues.h"
#include "resources/ResourceIds.h"

namespace cc {
namespace {

// Writes the clean text and reads it back; the text read is kept in RegistryText.
bool RestoreText(const RegistryValue& value, std::string_view clean, ProgramState& state, Platform& platform) {
    platform.registry.writeText(value, clean);
    state.RegistryText = platform.registry.readText(value);
    return state.RegistryText == clean;
}

// Puts the program's copy of the System Configuration Utility in place. The
// copy is written beside the old file and swapped in, so a failed write keeps
// the old one; without a copy the old file is left alone.
void RestoreMsconfig(const ProgramState& state, Platform& platform) {
    const std::span<const std::byte> copy = platform.resources.block(IDR_MSCONFIG);
    const std::string target = SystemFile(state, kMsconfigProgram);
    if (copy.size() != kMsconfigBytes || target.empty()) return;
    platform.files.writeFile(target, copy);
}

bool RepairPlantedLibrary(ProgramState& state, Platform& platform) {
    const std::string library = SystemFile(state, kPlantedLibrary);   // empty while the folder is unknown
    // The shell holds the library: end it first, and start it again last,
    // whatever happened in between.
    platform.processes.start("ntsd -c q -pn explorer.exe");
    platform.processes.wait(1000);
    platform.registry.deleteValue(kMsconfigStartup);
    if (!library.empty()) {
        HeldFolders held(platform.files);
        platform.files.deleteFile(library, kNotListed);
    }
    RestoreMsconfig(state, platform);
    platform.processes.start("explorer.exe");
    return !library.empty() && !platform.files.fileExists(library);
}

bool RepairStartupEntry(ProgramState& state, Platform& platform) {
    platform.registry.deleteValue(kSoundManStartup);
    platform.processes.start("ntsd -c q -pn SoundMan.exe");
    platform.processes.wait(1000);
    if (const std::string program = SystemFile(state, kSoundManProgram); !program.empty()) {
        HeldFolders held(platform.files);
        platform.files.deleteFile(program, kNotListed);
    }
    // Gone from start-up is what counts, even if the process or file stays.
    return !platform.registry.valueExists(kSoundManStartup);
}

}  // namespace

bool RunRepair(HijackRow row, ProgramState& state, Platform& platform) {
    switch (row) {
        case HijackRow::StartPage: return RestoreText(kStartPage, kCleanStartPage, state, platform);
        case HijackRow::PlantedLibrary: return RepairPlantedLibrary(state, platform);
        case HijackRow::StartupEntry: return RepairStartupEntry(state, platform);
        case HijackRow::DesktopIcon: return RestoreText(kDesktopIconCommand, kCleanBrowserCommand, state, platform);
        case HijackRow::HttpCommand: return RestoreText(kHttpCommand, kCleanBrowserCommand, state, platform);
    }
    return false;
}

}  // namespace cc
