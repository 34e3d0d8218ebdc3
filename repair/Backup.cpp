#include "repair/Backup.h"

#include <cstdio>
#include <memory>

#include "formats/RegistryText.h"
#include "repair/UndoFile.h"

namespace cc {
namespace {

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

std::string Note(std::string_view row, const std::string& when, const std::string& where, bool values,
                 const CopiedFiles& copied) {
    std::string note = "澄川清理助手在修复“" + std::string(row) + "”之前保存的备份, " + when + "\r\n\r\n";
    note += "本备份在 " + where + "\r\n只有管理员 (Administrators) 和 SYSTEM 能改动它; 您的账户只能读取。\r\n\r\n";
    if (values) note += "undo.reg: 修复改动的注册表值原来的样子。双击它并确认导入, 即可恢复。\r\n";
    if (!copied.empty()) note += "修复删除或替换的文件, 原样复制在本文件夹中; 要恢复, 请把它复制回原来的位置:\r\n";
    for (const auto& [path, id] : copied) note += "  " + FileName(path) + "  原来在  " + path + "\r\n";
    return note;
}

// A folder on the backup's way in `parent`, its name added to `where`: one of the program's own (`own`), made for
// the administrators or theirs already, or the backup's, new. A name that is taken, by anything that is not such a
// folder, gives way to the next: "x (2)" .. "x (99)" for the program's own (never taking over one that somebody
// else made), "x-2" .. "x-99" for the backup's (two repairs of one row within a second). Null when none can be had.
std::unique_ptr<HeldFolder> FolderOnTheWay(HeldFolder& parent, const std::string& name, bool own, std::string& where) {
    bool taken = false;
    for (int n = 1; n < 100; ++n) {
        const std::string numbered = n == 1 ? name : own ? name + " (" + std::to_string(n) + ")" : name + "-" + std::to_string(n);
        auto folder = own ? parent.administratorsFolder(numbered, taken) : parent.subfolder(numbered, taken);
        if (folder) where += numbered + "\\";
        if (folder || !taken) return folder;
    }
    return nullptr;
}

// The folders from the machine's application data down to a new folder named for the time and the row, each
// held from the moment it was checked, outermost first; the last one is the backup's, `where` its path. False
// when a level cannot be reached, made or checked: then nothing is written.
bool HoldBackupFolders(std::string_view row, const LocalTime& now, Platform& platform,
                       std::vector<std::unique_ptr<HeldFolder>>& levels, std::string& where) {
    where = platform.system.QueryCommonAppData();
    levels.push_back(platform.files.holdFolder(where));
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    // Each user's backups in a folder of their own, below folders only administrators can change.
    const std::pair<std::string, bool> way[] = {
        {"澄川清理助手", true}, {"备份", true}, {platform.system.QueryUserSid(), true}, {stamp + std::string(row), false}};
    for (const auto& [name, own] : way) {
        if (!levels.back() || name.empty()) return false;
        auto folder = FolderOnTheWay(*levels.back(), name, own, where);
        if (!folder) return false;   // and never the level above in its place
        levels.push_back(std::move(folder));
    }
    return true;
}

bool WriteBackup(const std::vector<ValueBefore>& before, const std::vector<std::string>& files, std::string_view row,
                 Platform& platform, std::vector<std::unique_ptr<HeldFolder>>& levels, CopiedFiles& copied) {
    const LocalTime now = platform.system.QueryLocalTime();
    std::string where;
    if (!HoldBackupFolders(row, now, platform, levels, where)) return false;
    HeldFolder& folder = *levels.back();
    for (const std::string& path : files) {
        std::uint64_t id = 0;
        const Lookup copy = folder.copyFile(path, FileName(path), id);
        if (copy == Lookup::Failed) return false;
        if (copy == Lookup::Found) copied[path] = id;
    }
    if (!before.empty() && !folder.createFile("undo.reg", UndoFileFor(before))) return false;
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    return folder.createFile("readme.txt", Utf8File(Note(row, when, where, !before.empty(), copied)));
}

}  // namespace

bool SaveBeforeRepair(const RepairChanges& changes, std::string_view row, Platform& platform, CopiedFiles& copied) {
    copied.clear();
    std::vector<ValueBefore> before;
    if (!ValuesBefore(changes, platform.registry, before)) return false;
    std::vector<std::string> files;
    for (const std::string& path : changes.files)   // one that cannot be looked at is tried: copying it tells
        if (platform.files.findFile(path) != Lookup::Missing) files.push_back(path);
    if (before.empty() && files.empty()) return true;

    std::vector<std::unique_ptr<HeldFolder>> levels;
    const bool saved = WriteBackup(before, files, row, platform, levels, copied);
    if (saved)
        for (auto& level : levels) level->keep();
    else
        copied.clear();
    // Innermost first: what a failed backup made goes, and a folder it made goes once it is empty.
    while (!levels.empty()) levels.pop_back();
    return saved;
}

}  // namespace cc
