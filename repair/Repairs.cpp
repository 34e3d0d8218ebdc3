#include "repair/Repairs.h"

#include "repair/Backup.h"
#include "repair/HijackValues.h"
#include "resources/ResourceIds.h"
#include "ui/Catalogue.h"

namespace cc {
namespace {

// The row's name as its caption label shows it, without the colon.
std::string_view RowName(HijackRow row) {
    std::string_view caption = Controls()[FindControl(ControlsOf(row).caption)].text;
    if (caption.ends_with(':')) caption.remove_suffix(1);
    return caption;
}

// The program's copy of the System Configuration Utility, if the build carries one.
std::span<const std::byte> MsconfigCopy(Platform& platform) {
    const std::span<const std::byte> copy = platform.resources.block(IDR_MSCONFIG);
    return copy.size() == kMsconfigBytes ? copy : std::span<const std::byte>();
}

// What each repair is about to change, for the backup.
RepairChanges ChangesOf(HijackRow row, const ProgramState& state, Platform& platform) {
    RepairChanges changes;
    auto file = [&](std::string_view name) {
        if (std::string path = SystemFile(state, name); !path.empty()) changes.files.push_back(std::move(path));
    };
    switch (row) {
        case HijackRow::StartPage: changes.writes = {{kStartPage, std::string(kCleanStartPage)}}; break;
        case HijackRow::DesktopIcon: changes.writes = {{kDesktopIconCommand, CleanBrowserCommand(platform.registry)}}; break;
        case HijackRow::HttpCommand: changes.writes = {{kHttpCommand, CleanBrowserCommand(platform.registry)}}; break;
        case HijackRow::PlantedLibrary:
            changes.deletions = {kMsconfigStartup};
            file(kPlantedLibrary);
            if (!MsconfigCopy(platform).empty()) file(kMsconfigProgram);   // without a copy it stays as it is
            break;
        case HijackRow::StartupEntry:
            changes.deletions = {kSoundManStartup};
            file(kSoundManProgram);
    }
    return changes;
}

// Writes the clean text and reads it back; the text read is kept in RegistryText.
bool RestoreText(const RegistryValue& value, std::string_view clean, ProgramState& state, Platform& platform) {
    platform.registry.writeText(value, clean);
    state.RegistryText = platform.registry.readText(value);
    return state.RegistryText == clean;
}

// Deletes the system file only if it is the very file the backup copied.
void DeleteSaved(const ProgramState& state, std::string_view name, const CopiedFiles& copied, Platform& platform) {
    const auto saved = copied.find(SystemFile(state, name));
    if (saved == copied.end()) return;
    FolderCacheScope folderCache(platform.files);
    platform.files.deleteFile(saved->first, saved->second);
}

// Puts the program's copy of the System Configuration Utility in place. The
// copy is written beside the old file and swapped in, so a failed write keeps
// the old one; without a copy the old file is left alone, and that is no failure.
bool RestoreMsconfig(const ProgramState& state, Platform& platform) {
    const std::span<const std::byte> copy = MsconfigCopy(platform);
    if (copy.empty()) return true;
    const auto folder = state.SystemDirectory.empty() ? nullptr : platform.files.holdFolder(state.SystemDirectory);
    return folder && folder->replaceFile(kMsconfigProgram, copy);
}

// Known to be gone: a value or file that cannot be looked at may still be there.
bool Gone(const RegistryValue& value, Platform& platform) { return platform.registry.findValue(value) == Lookup::Missing; }
bool Gone(const ProgramState& state, std::string_view name, Platform& platform) {
    const std::string path = SystemFile(state, name);   // empty while the folder is unknown
    return !path.empty() && platform.files.findFile(path) == Lookup::Missing;
}

// Each repair answers for every change it claims: the library, start-up value
// or process that stays, or a utility not restored, is a failure, whatever
// else went.
bool RepairPlantedLibrary(ProgramState& state, Platform& platform, const CopiedFiles& copied) {
    // The shell holds the library: end it first, and start it again last,
    // whatever happened in between, unless a shell runs by then (Windows
    // restarted it, or it could not be ended): a second one opens a folder window.
    platform.processes.end("explorer.exe");
    platform.processes.wait(1000);
    platform.registry.deleteValue(kMsconfigStartup);
    DeleteSaved(state, kPlantedLibrary, copied, platform);
    const bool restored = RestoreMsconfig(state, platform);
    if (!platform.processes.shellRunning()) platform.processes.start("explorer.exe");
    return Gone(state, kPlantedLibrary, platform) && Gone(kMsconfigStartup, platform) && restored;
}

bool RepairStartupEntry(ProgramState& state, Platform& platform, const CopiedFiles& copied) {
    platform.registry.deleteValue(kSoundManStartup);
    platform.processes.end("SoundMan.exe");
    platform.processes.wait(1000);
    DeleteSaved(state, kSoundManProgram, copied, platform);
    return Gone(kSoundManStartup, platform) && platform.processes.findRunning("SoundMan.exe") == Lookup::Missing &&
           Gone(state, kSoundManProgram, platform);
}

}  // namespace

bool RunRepair(HijackRow row, ProgramState& state, Platform& platform) {
    // Nothing changes that cannot be put back.
    const RepairChanges changes = ChangesOf(row, state, platform);
    for (const auto& [value, text] : changes.writes)
        if (text.empty()) return false;   // no program files folder named: no clean command to write
    CopiedFiles copied;
    if (!SaveBeforeRepair(changes, RowName(row), platform, copied)) return false;
    if (row == HijackRow::PlantedLibrary) return RepairPlantedLibrary(state, platform, copied);
    if (row == HijackRow::StartupEntry) return RepairStartupEntry(state, platform, copied);
    const auto& [value, clean] = changes.writes.at(0);   // the other rows write one clean text
    return RestoreText(value, clean, state, platform);
}

}  // namespace cc
