#pragma once
// The file system as the features see it. Paths are UTF-8 Windows paths
// ("C:\dir\name"); the Windows implementation handles long paths and
// names of any script. A failing operation answers false, 0 or empty.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace cc {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool fileExists(std::string_view path) = 0;
    // Deletes permanently (never to the recycle bin); also a read-only file.
    virtual bool deleteFile(std::string_view path) = 0;
    // Writes the bytes as the whole new content of the file. An existing
    // file is only replaced once the new content is completely on disk, so a
    // failed write leaves the old file as it was.
    virtual bool writeFile(std::string_view path, std::span<const std::byte> content) = 0;
};

}  // namespace cc
