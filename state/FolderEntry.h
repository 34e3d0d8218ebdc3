#pragma once
// One entry of a folder listing, as the walk and the volume's file table both give it.

#include <cstdint>
#include <string>

namespace cc {

struct FolderEntry {
    std::string name;          // the long name, never an 8.3 alias
    bool folder = false;
    bool reparsePoint = false; // a junction, symbolic link or mount point
    std::uint64_t size = 0;    // bytes, for files
    std::uint64_t id = 0;      // the file system's number for the file, 0 where it gives none
};

// No listed number to hold a file to: for files the program names itself.
inline constexpr std::uint64_t kNotListed = 0;

}  // namespace cc
