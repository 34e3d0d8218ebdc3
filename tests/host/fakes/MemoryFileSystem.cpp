#include "fakes/MemoryFileSystem.h"

#include <algorithm>

namespace cc::fake {

std::string MemoryFileSystem::Key(std::string_view path) {
    std::string key(path);
    for (char& ch : key)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return key;
}

// Registers the entry in its parent folder, creating the folders above it
// (an existing one stays as it is: a reparse point stays one).
void MemoryFileSystem::addEntry(const std::string& path, FolderEntry entry) {
    std::string parent = path.substr(0, path.find_last_of('\\') + 1);
    if (parent.size() > 3 && !folders_.count(Key(parent))) addFolder(parent.substr(0, parent.size() - 1));
    auto& entries = folders_[Key(parent)];
    auto same = std::find_if(entries.begin(), entries.end(), [&](auto& e) { return Key(e.name) == Key(entry.name); });
    if (same != entries.end()) *same = entry;
    else entries.push_back(std::move(entry));
}

void MemoryFileSystem::addFile(const std::string& path, std::string content) {
    addEntry(path, {path.substr(path.find_last_of('\\') + 1), false, false, content.size()});
    files_[Key(path)] = std::move(content);
}

void MemoryFileSystem::addFolder(const std::string& path, bool reparsePoint) {
    folders_.try_emplace(Key(path + "\\"));
    if (path.size() > 2) addEntry(path, {path.substr(path.find_last_of('\\') + 1), true, reparsePoint, 0});
}

void MemoryFileSystem::addShortcut(const std::string& path, ShortcutTarget target, std::uint64_t size) {
    addFile(path, std::string(size, 'L'));
    shortcuts_[Key(path)] = std::move(target);
}

void MemoryFileSystem::addDrive(const std::string& drive, bool local, std::optional<DriveSpace> space) {
    drives_.push_back({drive, local, space});
    folders_.try_emplace(Key(drive + "\\"));
}

std::vector<FolderEntry> MemoryFileSystem::listFolder(std::string_view folder) {
    record("list " + std::string(folder));
    auto it = folders_.find(Key(folder));
    return it == folders_.end() || denied_.count(Key(folder)) ? std::vector<FolderEntry>{} : it->second;
}

std::vector<std::string> MemoryFileSystem::drives(bool localDisksOnly) {
    std::vector<std::string> result;
    for (const auto& d : drives_)
        if (!localDisksOnly || d.local) result.push_back(d.name);
    return result;
}

std::optional<DriveSpace> MemoryFileSystem::driveSpace(std::string_view drive) {
    for (const auto& d : drives_)
        if (Key(d.name) == Key(drive)) return d.space;
    return std::nullopt;
}

bool MemoryFileSystem::fileExists(std::string_view path) {
    record("exists " + std::string(path));
    return has(path);
}

bool MemoryFileSystem::pathExists(std::string_view path) {
    return has(path) || (!path.empty() && folders_.count(Key(std::string(path) + (path.back() == '\\' ? "" : "\\"))));
}

ShortcutTarget MemoryFileSystem::readShortcut(std::string_view path) {
    record("read " + std::string(path));
    auto it = shortcuts_.find(Key(path));
    return it == shortcuts_.end() ? ShortcutTarget{} : it->second;   // any other file is unreadable
}

bool MemoryFileSystem::deleteFile(std::string_view path) {
    record("delete " + std::string(path));
    std::string key = Key(path);
    if (locked_.count(key) || files_.erase(key) == 0) return false;
    auto& entries = folders_[key.substr(0, key.find_last_of('\\') + 1)];
    std::string name = key.substr(key.find_last_of('\\') + 1);
    std::erase_if(entries, [&](const FolderEntry& e) { return Key(e.name) == name; });
    return true;
}

bool MemoryFileSystem::writeFile(std::string_view path, std::span<const std::byte> content) {
    record("write " + std::string(path));
    if (failWrites_) return false;
    addFile(std::string(path), std::string(reinterpret_cast<const char*>(content.data()), content.size()));
    return true;
}

}  // namespace cc::fake
