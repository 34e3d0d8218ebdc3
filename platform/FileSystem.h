#pragma once
// The file system as the features see it. Paths are UTF-8 Windows paths
// ("C:\dir\name"); the Windows implementation handles long paths and
// names of any script. A failing operation answers false, 0 or empty.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Lookup.h"
#include "state/FolderEntry.h"
#include "state/ShortcutTarget.h"

namespace cc {

struct DriveSpace {
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;
};

// A folder held open since it was checked, to make things in. Everything is
// made relative to the folder's handle and checked before it is used (a plain
// file or folder, no link, that the system names by this folder's name and
// its own), so no link planted on the way, before or during the writes, takes
// a write elsewhere. Names are single names, without "\".
class HeldFolder {
public:
    virtual ~HeldFolder() = default;
    // A new subfolder `name`, made here and checked; it inherits this folder's
    // access list. Null when it cannot be; `taken` tells a name that is there
    // already. Held, it cannot be renamed or replaced.
    virtual std::unique_ptr<HeldFolder> subfolder(std::string_view name, bool& taken) = 0;
    // The program's own subfolder `name`, which only administrators can change:
    // made here, new, with the program's access list given as it is made
    // (Administrators and SYSTEM full control, the user read, nothing inherited
    // from above; owner Administrators: it takes an administrator's rights),
    // or, where it is there already, a plain folder (no link) owned by
    // Administrators, SYSTEM or TrustedInstaller, used as it is. Anything else
    // of that name is never taken over: `taken` tells it, and null comes back,
    // as it does when the folder cannot be made or checked. Held, as above.
    virtual std::unique_ptr<HeldFolder> administratorsFolder(std::string_view name, bool& taken) = 0;
    // A new file `name` with exactly these bytes; false when the name is taken.
    virtual bool createFile(std::string_view name, std::span<const std::byte> content) = 0;
    // Copies exactly the file at `from`, reached as deleteFile reaches it, to a
    // new file `name` here; `id` gets the copied file's number, so that a
    // deletion can hold to the very file that was copied.
    virtual Lookup copyFile(std::string_view from, std::string_view name, std::uint64_t& id) = 0;
    // Writes the bytes as the whole new content of the file `name`, replacing
    // a read-only one too. An existing file is only replaced once the new
    // content is completely on disk, so a failed write leaves it as it was.
    virtual bool replaceFile(std::string_view name, std::span<const std::byte> content) = 0;
    // Unless kept, the files createFile() and copyFile() made here are removed
    // again when this object goes, and so is this folder if it was made new
    // and is empty then: a failed backup leaves nothing half-made.
    virtual void keep() = 0;
};

// One drive's folders as a scan lists them (FileSystem::driveFolders).
class DriveFolders {
public:
    virtual ~DriveFolders() = default;
    // As FileSystem::listFolder, for a folder of this drive. A listing read
    // from the volume's file table may be seconds behind the file system: its
    // entries carry the table's numbers, and a deletion holds each file to its
    // number, so a file changed since is never deleted.
    virtual std::vector<FolderEntry> list(std::string_view folder, const std::function<void()>& meanwhile) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The folders of `drive` ("C:") for one scan. On an NTFS drive that can
    // be opened as a volume (which takes an administrator's rights) they are
    // read at once from the volume's own file table, `meanwhile` running
    // between the reads; on any other drive, and whenever the table is in any
    // doubt, folder by folder through listFolder.
    virtual std::unique_ptr<DriveFolders> driveFolders(std::string_view drive, const std::function<void()>& meanwhile);

    // Every entry of a folder (a path ending in "\") but "." and "..", in the
    // order the file system lists them, read in one pass. The folder is reached
    // from the drive's root one name at a time, never through a junction,
    // symbolic link or mount point: a folder that became one since its parent
    // was listed, or that cannot be read, has no entries. A listing of many
    // entries comes in pieces: `meanwhile` (if set) runs between them, so that
    // the caller's window keeps answering.
    virtual std::vector<FolderEntry> listFolder(std::string_view folder, const std::function<void()>& meanwhile) = 0;

    // The drives ("C:") in the system's order: all, or only the local hard disks.
    virtual std::vector<std::string> drives(bool localDisksOnly) = 0;
    virtual std::optional<DriveSpace> driveSpace(std::string_view drive) = 0;

    // Whether a file is at that path (a folder is no file), or could not be
    // told: access denied, a drive not ready, a file being deleted.
    virtual Lookup findFile(std::string_view path) = 0;
    // The same for a file or a folder.
    virtual Lookup findPath(std::string_view path) = 0;
    // Reads a shortcut (.lnk) file with the program's own reader
    // (formats/ShellLink.h), never the shell's, from exactly the file
    // at that path, reached as listFolder reaches folders (never another file,
    // a link, a pipe or a device of that name). The user's environment and folder
    // redirections lead only a shortcut inside the user's own profile (platform/UserProfile.h).
    virtual ShortcutTarget readShortcut(std::string_view path) = 0;
    // Deletes permanently (never to the recycle bin) exactly the file at that
    // path, reached as listFolder reaches folders; a name that is now a link,
    // or a file whose number is not `listedId` (unless kNotListed), stays, and
    // so does a read-only file. A number from an NTFS file table is the file
    // reference: its record number, and its sequence number wherever the
    // file system gives one (Windows does; Wine on ntfs-3g does not).
    virtual bool deleteFile(std::string_view path, std::uint64_t listedId) = 0;
    // Whether the system keeps a Recycle Bin folder of each user's on each
    // drive that recycleFile can move files into (Vista on; not XP's shared index).
    virtual bool hasRecycleBins() = 0;
    // Moves into the Recycle Bin of its drive, with the record Explorer shows
    // and restores it by, exactly the file deleteFile would delete: reached,
    // held and checked as it is; false leaves it where it is. So does a drive
    // without a bin folder of the user's own that can be trusted: the file is
    // never deleted instead.
    virtual bool recycleFile(std::string_view path, std::uint64_t listedId) = 0;
    // The folders reached are kept open between calls, so that a walk or a run
    // of deletions opens each folder once; this closes them (an open folder
    // keeps its drive from being ejected). FolderCacheScope calls it.
    virtual void closeFolders() = 0;
    // The folder at `path`, reached as listFolder reaches folders and held
    // open, to make files and folders in; null when it cannot be reached so.
    virtual std::unique_ptr<HeldFolder> holdFolder(std::string_view path) = 0;
};

// A drive folder by folder, as listFolder lists it: what it lists is there.
class WalkedFolders final : public DriveFolders {
public:
    explicit WalkedFolders(FileSystem& files) : files_(files) {}
    std::vector<FolderEntry> list(std::string_view folder, const std::function<void()>& meanwhile) override {
        return files_.listFolder(folder, meanwhile);
    }

private:
    FileSystem& files_;
};

inline std::unique_ptr<DriveFolders> FileSystem::driveFolders(std::string_view, const std::function<void()>&) {
    return std::make_unique<WalkedFolders>(*this);
}

// Closes the folders a walk or a run of deletions kept open, however it ends.
class FolderCacheScope {
public:
    explicit FolderCacheScope(FileSystem& files) : files_(files) {}
    ~FolderCacheScope() { files_.closeFolders(); }
    FolderCacheScope(const FolderCacheScope&) = delete;
    FolderCacheScope& operator=(const FolderCacheScope&) = delete;

private:
    FileSystem& files_;
};

}  // namespace cc
