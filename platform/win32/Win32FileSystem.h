#pragma once
#include "platform/FileSystem.h"
#include "platform/win32/AdministratorsLinks.h"
#include "platform/win32/FolderChain.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/RecycleBin.h"

namespace cc {

class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<DriveFolders> driveFolders(std::string_view drive, const std::function<void()>& meanwhile) override;
    std::vector<FolderEntry> listFolder(std::string_view folder, const std::function<void()>& meanwhile) override;
    std::vector<std::string> drives(bool localDisksOnly) override;
    std::optional<DriveSpace> driveSpace(std::string_view drive) override;
    Lookup findFile(std::string_view path) override;
    Lookup findPath(std::string_view path) override;
    ShortcutTarget readShortcut(std::string_view path) override;
    bool deleteFile(std::string_view path, std::uint64_t listedId) override;
    bool hasRecycleBins() override { return KeepsUserBins(); }
    bool recycleFile(std::string_view path, std::uint64_t listedId) override;
    void closeFolders() override { folders_.close(), bins_.close(); }
    std::unique_ptr<HeldFolder> holdFolder(std::string_view path) override;

    // The file `path` names, opened in its folder as reached through the
    // chain, and only if it is a plain file on disk that reports exactly that
    // name and, unless kNotListed, that number. `gone`: no file has that name.
    // `opened`, if given, gets what the handle said of the file.
    UniqueHfile openExactFile(std::string_view path, OpenFor purpose, std::uint64_t listedId, bool& gone,
                               OpenedFile* opened = nullptr);

    // Whether an open folder that is there already is the administrators' own,
    // by the owner Windows reports (Wine reports the user for every file).
    virtual bool ownedByAdministrators(HANDLE folder) { return OwnedByAdministrators(folder); }

protected:
    // How a held folder's way judges a link: by the owners Windows reports.
    virtual LinkTrust& links() { return administratorsLinks_; }

private:
    FolderChain folders_;
    RecycleBins bins_;
    AdministratorsLinks administratorsLinks_;
};

// "\\?\" form of an absolute path, so that no MAX_PATH limit applies.
std::wstring LongPath(std::string_view path);

}  // namespace cc
