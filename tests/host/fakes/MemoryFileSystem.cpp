#include "fakes/MemoryFileSystem.h"

#include <algorithm>

namespace cc::fake {

std::string MemoryFileSystem::Key(std::string_view path) {
    std::string key(path);
    for (char& ch : key)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return key;
}

std::string MemoryFileSystem::Slash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

// Registers the entry in its parent folder, creating the folders above it.
void MemoryFileSystem::addEntry(const std::string& path, FolderEntry entry) {
    size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos) return;
    std::string parent = path.substr(0, cut + 1);
    // Creates the parent, keeping it as it is when it exists (a reparse point stays one).
    if (parent.size() > 3 && !folders_.count(Key(parent))) addFolder(parent.substr(0, parent.size() - 1));
    auto& entries = folders_[Key(parent)];
    for (auto& existing : entries)
        if (Key(existing.name) == Key(entry.name)) {
            existing = entry;
            return;
        }
    entries.push_back(std::move(entry));
}

void MemoryFileSystem::addFile(const std::string& path, std::string content) {
    std::uint64_t size = content.size();
    files_[Key(path)] = {std::move(content), size};
    addEntry(path, {path.substr(path.find_last_of('\\') + 1), false, false, size});
}

void MemoryFileSystem::addFileOfSize(const std::string& path, std::uint64_t size) {
    files_[Key(path)] = {{}, size};
    addEntry(path, {path.substr(path.find_last_of('\\') + 1), false, false, size});
}

void MemoryFileSystem::addFolder(const std::string& path, bool reparsePoint) {
    std::string folder = Slash(path);
    folders_.try_emplace(Key(folder));
    std::string trimmed = folder.substr(0, folder.size() - 1);
    if (trimmed.size() <= 2) return;   // a drive root has no parent entry
    addEntry(trimmed, {trimmed.substr(trimmed.find_last_of('\\') + 1), true, reparsePoint, 0});
}

void MemoryFileSystem::addDrive(const std::string& drive, bool local, std::optional<DriveSpace> space) {
    drives_.push_back({drive, local, space});
    folders_.try_emplace(Key(drive + "\\"));
}

bool MemoryFileSystem::has(std::string_view path) const { return files_.count(Key(path)) != 0; }

std::string MemoryFileSystem::content(std::string_view path) const {
    auto it = files_.find(Key(path));
    return it == files_.end() ? std::string() : it->second.content;
}

std::vector<FolderEntry> MemoryFileSystem::listFolder(std::string_view folder) {
    record("list " + std::string(folder));
    std::string key = Key(folder);
    if (std::find(denied_.begin(), denied_.end(), key) != denied_.end()) return {};
    auto it = folders_.find(key);
    return it == folders_.end() ? std::vector<FolderEntry>{} : it->second;
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
    if (path.empty()) return false;
    std::string key = Key(path);
    if (key.back() != '\\') key += '\\';
    return has(path) || folders_.count(key) != 0;
}

void MemoryFileSystem::addShortcut(const std::string& path, ShortcutTarget target, std::uint64_t size) {
    addFileOfSize(path, size);
    shortcuts_[Key(path)] = std::move(target);
}

ShortcutTarget MemoryFileSystem::readShortcut(std::string_view path) {
    record("read " + std::string(path));
    auto it = shortcuts_.find(Key(path));
    return it == shortcuts_.end() ? ShortcutTarget{} : it->second;   // any other file is unreadable
}

bool MemoryFileSystem::deleteFile(std::string_view path) {
    record("delete " + std::string(path));
    std::string key = Key(path);
    if (std::find(locked_.begin(), locked_.end(), key) != locked_.end()) return false;
    if (files_.erase(key) == 0) return false;
    size_t cut = key.find_last_of('\\');
    auto& entries = folders_[key.substr(0, cut + 1)];
    std::string name = key.substr(cut + 1);
    entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const FolderEntry& e) { return Key(e.name) == name; }),
                  entries.end());
    return true;
}

bool MemoryFileSystem::writeFile(std::string_view path, std::span<const std::byte> content) {
    record("write " + std::string(path));
    if (failWrites_) return false;
    addFile(std::string(path), std::string(reinterpret_cast<const char*>(content.data()), content.size()));
    return true;
}

}  // namespace cc::fake
