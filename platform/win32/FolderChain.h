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

// How a chain judges a link it meets on its way.
class LinkTrust {
public:
    virtual ~LinkTrust() = default;
    // Where the link `name` in the open folder `parent` leads ("D:\Users"),
    // if it may be followed; empty if not.
    virtual std::wstring trustedTarget(HANDLE parent, std::wstring_view name) = 0;
};

class FolderChain {
public:
    FolderChain() = default;
    // A chain that goes through the links `trust` answers for, reaching each
    // one's target from its drive's root in turn (a few links deep at most);
    // any other link stops it, as it stops every chain.
    explicit FolderChain(LinkTrust& trust, int depth = 0) : trust_(&trust), depth_(depth) {}

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
        UniqueHfile handle;
        std::wstring systemName;   // as the system reports it ("\a\b"); empty until asked
        std::unordered_map<std::wstring, std::uint64_t> listedFolders;
    };
    // The system's name for the folder at `level`, asked once.
    const std::wstring& systemName(size_t level);
    // The folder the link `name` in `parent` leads to, if the trust answers for it.
    UniqueHfile follow(HANDLE parent, std::wstring_view name);
    std::vector<Level> levels_;
    LinkTrust* trust_ = nullptr;
    int depth_ = 0;
};

// Splits "C:\a\b" into "C:", "a", "b" (empty parts dropped). False for any
// other kind of path, and for "." or ".." or a name with ":" (a stream), which
// no listing gives.
bool SplitLocalPath(std::wstring_view path, std::vector<std::wstring_view>& names);

}  // namespace cc
