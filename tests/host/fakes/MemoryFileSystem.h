#pragma once
// An in-memory file system for host tests: folders list their entries in the order they were
// added, as a real file system lists them in its own order. Paths compare case-insensitively
// for ASCII letters, as Windows compares them. Logs "list X", "read X", "exists X", "delete X", "write X".

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/FileSystem.h"

namespace cc::fake {

class MemoryFileSystem : public FileSystem, public CallLog {
public:
    // Adds a file (its size is the content's length) or a folder, creating the folders above.
    void addFile(const std::string& path, std::string content = {}) {
        addEntry(path, {Name(path), false, false, content.size()});
        files_[Key(path)] = std::move(content);
    }
    void addFolder(const std::string& path, bool reparsePoint = false) {
        folders_.try_emplace(Key(path + "\\"));
        if (path.size() > 2) addEntry(path, {Name(path), true, reparsePoint, 0});
    }
    void denyFolder(const std::string& path) { denied_.insert(Key(path + "\\")); }   // unreadable
    // A shortcut file of that size that reads as the given target.
    void addShortcut(const std::string& path, ShortcutTarget target, std::uint64_t size = 1024) {
        addFile(path, std::string(size, 'L')), shortcuts_[Key(path)] = std::move(target);
    }
    void addDrive(const std::string& drive, bool local, std::optional<DriveSpace> space = DriveSpace{}) {
        drives_.push_back({drive, local, space});
        folders_.try_emplace(Key(drive + "\\"));
    }
    bool has(std::string_view path) const { return files_.count(Key(path)) != 0; }
    std::string content(std::string_view path) const { return has(path) ? files_.at(Key(path)) : std::string(); }
    void failWrites(bool fail) { failWrites_ = fail; }                     // a full disk, a denied folder
    void lockFile(const std::string& path) { locked_.insert(Key(path)); }   // deleting it fails

    std::vector<FolderEntry> listFolder(std::string_view folder) override {
        record("list " + std::string(folder));
        return !folders_.count(Key(folder)) || denied_.count(Key(folder)) ? std::vector<FolderEntry>{} : folders_[Key(folder)];
    }
    std::vector<std::string> drives(bool localDisksOnly) override {
        std::vector<std::string> result;
        for (const auto& d : drives_) if (!localDisksOnly || d.local) result.push_back(d.name);
        return result;
    }
    std::optional<DriveSpace> driveSpace(std::string_view drive) override {
        for (const auto& d : drives_) if (Key(d.name) == Key(drive)) return d.space;
        return std::nullopt;
    }
    bool fileExists(std::string_view path) override { return record("exists " + std::string(path)), has(path); }
    bool pathExists(std::string_view path) override {
        return has(path) || (!path.empty() && folders_.count(Key(std::string(path) + (path.back() == '\\' ? "" : "\\"))));
    }
    ShortcutTarget readShortcut(std::string_view path) override {   // any file but a shortcut is unreadable
        return record("read " + std::string(path)), shortcuts_.count(Key(path)) ? shortcuts_[Key(path)] : ShortcutTarget{};
    }
    bool deleteFile(std::string_view path) override {
        record("delete " + std::string(path));
        std::string key = Key(path);
        if (locked_.count(key) || files_.erase(key) == 0) return false;
        std::erase_if(folders_[key.substr(0, key.rfind('\\') + 1)], [&](auto& e) { return Key(e.name) == Key(Name(key)); });
        return true;
    }
    bool writeFile(std::string_view path, std::span<const std::byte> content) override {
        record("write " + std::string(path));
        if (!failWrites_) addFile(std::string(path), std::string(reinterpret_cast<const char*>(content.data()), content.size()));
        return !failWrites_;
    }

private:
    static std::string Key(std::string_view path) {
        std::string key(path);
        for (char& ch : key) ch = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
        return key;
    }
    static std::string Name(const std::string& path) { return path.substr(path.rfind('\\') + 1); }
    // Registers the entry in its parent folder, creating that (an existing one stays: a reparse point stays one).
    void addEntry(const std::string& path, FolderEntry entry) {
        std::string parent = path.substr(0, path.rfind('\\') + 1);
        if (parent.size() > 3 && !folders_.count(Key(parent))) addFolder(parent.substr(0, parent.size() - 1));
        auto& entries = folders_[Key(parent)];
        auto same = std::find_if(entries.begin(), entries.end(), [&](auto& e) { return Key(e.name) == Key(entry.name); });
        if (same != entries.end()) *same = std::move(entry);
        else entries.push_back(std::move(entry));
    }

    struct Drive { std::string name; bool local; std::optional<DriveSpace> space; };
    std::map<std::string, std::string> files_;                   // key -> content
    std::map<std::string, std::vector<FolderEntry>> folders_;    // folder key (ends in "\") -> entries
    std::set<std::string> denied_, locked_;
    std::vector<Drive> drives_;
    std::map<std::string, ShortcutTarget> shortcuts_;
    bool failWrites_ = false;
};

}  // namespace cc::fake
