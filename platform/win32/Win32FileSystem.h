#pragma once
#include "platform/FileSystem.h"

namespace cc {

class Win32FileSystem final : public FileSystem {
public:
    std::vector<FolderEntry> listFolder(std::string_view folder) override;
    std::vector<std::string> drives(bool localDisksOnly) override;
    std::optional<DriveSpace> driveSpace(std::string_view drive) override;
    bool fileExists(std::string_view path) override;
    bool pathExists(std::string_view path) override;
    ShortcutTarget readShortcut(std::string_view path) override;
    bool deleteFile(std::string_view path) override;
    bool writeFile(std::string_view path, std::span<const std::byte> content) override;
};

// "\\?\" form of an absolute path, so that no MAX_PATH limit applies.
std::wstring LongPath(std::string_view path);

}  // namespace cc
