#include "fakes/MemoryFileSystem.h"

#include <cctype>

namespace cc::fake {

std::string MemoryFileSystem::Key(std::string_view path) {
    std::string key(path);
    for (char& ch : key)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return key;
}

void MemoryFileSystem::addFile(std::string path, std::string content) { files_[Key(path)] = std::move(content); }

bool MemoryFileSystem::has(std::string_view path) const { return files_.count(Key(path)) != 0; }

std::string MemoryFileSystem::content(std::string_view path) const {
    auto it = files_.find(Key(path));
    return it == files_.end() ? std::string() : it->second;
}

bool MemoryFileSystem::fileExists(std::string_view path) { return has(path); }

bool MemoryFileSystem::deleteFile(std::string_view path) {
    log_.push_back("delete " + std::string(path));
    return files_.erase(Key(path)) != 0;
}

bool MemoryFileSystem::writeFile(std::string_view path, std::span<const std::byte> content) {
    log_.push_back("write " + std::string(path));
    if (failWrites_) return false;
    files_[Key(path)] = std::string(reinterpret_cast<const char*>(content.data()), content.size());
    return true;
}

}  // namespace cc::fake
