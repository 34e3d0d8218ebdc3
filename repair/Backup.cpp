#include "repair/Backup.h"

#include <cstdio>

#include "platform/RegistryText.h"
#include "repair/UndoFile.h"

namespace cc {
namespace {

constexpr std::string_view kBackupFolders[] = {"澄川清理助手", "备份"};

// The topmost key along `key` that is not there, or empty when all are.
std::string_view FirstMissingKey(RegistryRoot root, std::string_view key, Registry& registry) {
    for (size_t end = key.find('\\');; end = key.find('\\', end + 1)) {
        const std::string_view part = key.substr(0, end);
        if (!registry.keyExists(root, part)) return part;
        if (end == std::string_view::npos) return {};
    }
}

// Reads every value the repair would change; false when one cannot be read.
bool ValuesBefore(const RepairChanges& changes, Registry& registry, std::vector<ValueBefore>& before) {
    for (const auto& [where, text] : changes.writes) {
        RegistryData data;
        const Lookup found = registry.readData(where, data);
        if (found == Lookup::Failed) return false;
        if (found == Lookup::Found && data.type == kRegistryString && data.bytes == TextValueBytes(text)) continue;
        ValueBefore value{where, std::nullopt, {}};
        if (found == Lookup::Found) value.data = data;
        else value.createdKey = FirstMissingKey(where.root, where.key, registry);
        before.push_back(std::move(value));
    }
    for (const RegistryValue& where : changes.deletions) {
        RegistryData data;
        const Lookup found = registry.readData(where, data);
        if (found == Lookup::Failed) return false;
        if (found == Lookup::Found) before.push_back({where, data, {}});
    }
    return true;
}

std::string FileName(std::string_view path) { return std::string(path.substr(path.rfind('\\') + 1)); }

std::vector<std::byte> Utf8File(const std::string& text) {
    std::vector<std::byte> bytes{std::byte{0xEF}, std::byte{0xBB}, std::byte{0xBF}};   // so that Notepad reads UTF-8
    for (char ch : text) bytes.push_back(std::byte(static_cast<unsigned char>(ch)));
    return bytes;
}

std::string Note(std::string_view row, const std::string& when, bool values, const CopiedFiles& copied) {
    std::string note = "澄川清理助手在修复“" + std::string(row) + "”之前保存的备份, " + when + "\r\n\r\n";
    if (values) note += "undo.reg: 修复改动的注册表值原来的样子。双击它并确认导入, 即可恢复。\r\n";
    if (!copied.empty()) note += "修复删除或替换的文件, 原样复制在本文件夹中; 要恢复, 请把它复制回原来的位置:\r\n";
    for (const auto& [path, id] : copied) note += "  " + FileName(path) + "  原来在  " + path + "\r\n";
    return note;
}

// A new folder under the backup folders, named for the time and the row.
std::string NewBackupFolder(std::string_view row, const LocalTime& now, Platform& platform) {
    std::string folder = platform.system.QueryLocalAppData();
    if (folder.empty()) return {};
    for (std::string_view name : kBackupFolders)
        if (!platform.files.makeFolder(folder += std::string(name) + "\\")) return {};
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    const std::string name = folder + stamp + std::string(row);
    for (int n = 1; n < 100; ++n) {   // two repairs of one row within a second
        const std::string candidate = n == 1 ? name : name + "-" + std::to_string(n);
        if (!platform.files.pathExists(candidate)) return platform.files.makeFolder(candidate) ? candidate + "\\" : "";
    }
    return {};
}

}  // namespace

bool SaveBeforeRepair(const RepairChanges& changes, std::string_view row, Platform& platform, CopiedFiles& copied) {
    copied.clear();
    std::vector<ValueBefore> before;
    if (!ValuesBefore(changes, platform.registry, before)) return false;
    std::vector<std::string> files;
    for (const std::string& path : changes.files)
        if (platform.files.fileExists(path)) files.push_back(path);
    if (before.empty() && files.empty()) return true;

    const LocalTime now = platform.system.QueryLocalTime();
    const std::string folder = NewBackupFolder(row, now, platform);
    if (folder.empty()) return false;
    for (const std::string& path : files) {
        std::uint64_t id = 0;
        const Lookup copy = platform.files.copyFile(path, folder + FileName(path), id);
        if (copy == Lookup::Failed) return false;
        if (copy == Lookup::Found) copied[path] = id;
    }
    if (!before.empty() && !platform.files.writeFile(folder + "undo.reg", UndoFileFor(before))) return false;
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    return platform.files.writeFile(folder + "readme.txt", Utf8File(Note(row, when, !before.empty(), copied)));
}

}  // namespace cc
