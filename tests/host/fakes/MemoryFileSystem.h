#pragma once
// An in-memory file system for host tests: folders list their entries in the
// order they were added, as a real file system lists them in its own order.
// Paths compare case-insensitively for ASCII letters, as Windows compares them.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/FileSystem.h"

namespace cc::fake {

// Logs "list X", "read X", "exists X", "delete X", "write X".
class MemoryFileSystem : public FileSystem, public CallLog {
public:
    // Adds a file, creating its folders; its size is the content's length.
    void addFile(const std::string& path, std::string content = {});
    void addFolder(const std::string& path, bool reparsePoint = false);
    void denyFolder(const std::string& path) { denied_.insert(Key(path + "\\")); }   // unreadable
    // A shortcut file of that size that reads as the given target.
    void addShortcut(const std::string& path, ShortcutTarget target, std::uint64_t size = 1024);
    void addDrive(const std::string& drive, bool local, std::optional<DriveSpace> space = DriveSpace{});
    bool has(std::string_view path) const { return files_.count(Key(path)) != 0; }
    std::string content(std::string_view path) const { return has(path) ? files_.at(Key(path)) : std::string(); }
    void failWrites(bool fail) { failWrites_ = fail; }                // a full disk, a denied folder
    void lockFile(const std::string& path) { locked_.insert(Key(path)); }   // deleting it fails

    std::vector<FolderEntry> listFolder(std::string_view folder) override;
    std::vector<std::string> drives(bool localDisksOnly) override;
    std::optional<DriveSpace> driveSpace(std::string_view drive) override;
    bool fileExists(std::string_view path) override;
    bool pathExists(std::string_view path) override;
    ShortcutTarget readShortcut(std::string_view path) override;
    bool deleteFile(std::string_view path) override;
    bool writeFile(std::string_view path, std::span<const std::byte> content) override;

private:
    struct Drive {
        std::string name;
        bool local;
        std::optional<DriveSpace> space;
    };
    static std::string Key(std::string_view path);
    void addEntry(const std::string& path, FolderEntry entry);

    std::map<std::string, std::string> files_;                   // key -> content
    std::map<std::string, std::vector<FolderEntry>> folders_;    // folder key (ends in "\") -> entries
    std::set<std::string> denied_, locked_;
    std::vector<Drive> drives_;
    std::map<std::string, ShortcutTarget> shortcuts_;
    bool failWrites_ = false;
};

}  // namespace cc::fake
