#pragma once
#include "platform/FileSystem.h"

namespace cc {

class Win32FileSystem final : public FileSystem {
public:
    bool fileExists(std::string_view path) override;
    bool deleteFile(std::string_view path) override;
    bool writeFile(std::string_view path, std::span<const std::byte> content) override;
};

// "\\?\" form of an absolute path, so that no MAX_PATH limit applies.
std::wstring LongPath(std::string_view path);

}  // namespace cc
