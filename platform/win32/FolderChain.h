#pragma once
// The folders of one path held open from the drive's root down, each opened
// relative to the one above it and checked before anything is opened in it.
// A walk or a run of deletions in one folder opens each folder once.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/win32/Handles.h"

namespace cc {

class FolderChain {
public:
    // The open folder that `folder` ("C:\a\b\", "\\?\C:\a\b" too) names. Null
    // when the path is no local drive path, when a folder on the way cannot be
    // opened, is now a junction, symbolic link or mount point, or is reached
    // under another name than its own (where the system followed a link anyway).
    // Folders already open for the same names are kept, whatever happened to
    // their names since: they are the folders that were checked. A subfolder
    // of the folder listed last is held to the number the listing gave it,
    // which is cheaper to check than its name and as telling.
    HANDLE reach(std::wstring_view folder);
    // The subfolders the folder reached last listed, with their numbers.
    void noteSubfolder(std::wstring_view name, std::uint64_t id) { levels_.back().listedFolders[std::wstring(name)] = id; }
    // The name the system reports for the folder reached last ("\a\b").
    const std::wstring& reachedName() { return systemName(levels_.size() - 1); }
    // The name the system must report for `name` in the folder reached last.
    std::wstring childName(std::wstring_view name);
    void close() { levels_.clear(); }

private:
    struct Level {
        std::wstring name;         // as the path spells it; "C:" for the root
        UniqueHandle handle;
        std::wstring systemName;   // as the system reports it ("\a\b"); empty until asked
        std::unordered_map<std::wstring, std::uint64_t> listedFolders;
    };
    // The system's name for the folder at `level`, asked once.
    const std::wstring& systemName(size_t level);
    std::vector<Level> levels_;
};

// Splits "C:\a\b" into "C:", "a", "b" (empty parts dropped). False for any
// other kind of path, and for "." or ".." or a name with ":" (a stream), which
// no listing gives.
bool SplitLocalPath(std::wstring_view path, std::vector<std::wstring_view>& names);

}  // namespace cc
