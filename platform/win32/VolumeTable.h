#pragma once
// A drive read through its volume's own file table: the raw volume opened
// read-only, the table read in large sequential reads, the folders listed
// from it; a deletion holds each file to the table's number for it.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "formats/ntfs/NtfsTable.h"

namespace cc {

class Win32FileSystem;

// The file table of `drive` ("C:"), when it is a local NTFS drive whose volume
// this process can open and read (an administrator's rights) and the table is
// consistent; null otherwise.
std::unique_ptr<NtfsTable> ReadDriveTable(std::string_view drive, const std::function<void()>& meanwhile);

class TableFolders final : public DriveFolders {
public:
    TableFolders(Win32FileSystem& files, std::string_view drive, std::unique_ptr<NtfsTable> table)
        : files_(files), root_(std::string(drive.substr(0, 2)) + "\\"), table_(std::move(table)) {}
    // The folder's entries as the table holds them; a folder it cannot tell is walked.
    std::vector<FolderEntry> list(std::string_view folder, const std::function<void()>& meanwhile) override;

private:
    Win32FileSystem& files_;
    std::string root_;   // "C:\"
    std::unique_ptr<NtfsTable> table_;
};

}  // namespace cc
