#pragma once
// An in-memory file system for host tests. Paths compare case-insensitively
// for ASCII letters, as Windows compares them.

#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace cc::fake {

class MemoryFileSystem final : public FileSystem {
public:
    // --- test set-up and inspection ---
    void addFile(std::string path, std::string content = {});
    bool has(std::string_view path) const;
    std::string content(std::string_view path) const;
    // The next writes fail (a full disk, a denied folder).
    void failWrites(bool fail) { failWrites_ = fail; }
    const std::vector<std::string>& log() const { return log_; }   // "delete X", "write X"

    // --- FileSystem ---
    bool fileExists(std::string_view path) override;
    bool deleteFile(std::string_view path) override;
    bool writeFile(std::string_view path, std::span<const std::byte> content) override;

private:
    static std::string Key(std::string_view path);
    std::map<std::string, std::string> files_;   // key -> content
    bool failWrites_ = false;
    std::vector<std::string> log_;
};

}  // namespace cc::fake
