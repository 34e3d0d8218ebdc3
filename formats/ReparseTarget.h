#pragma once
// Where a link leads, from the reparse data the file system hands over for it
// (FSCTL_GET_REPARSE_POINT): bytes of whoever made the link, read as such.

#include <cstdint>
#include <span>
#include <string>

namespace cc {

inline constexpr std::uint32_t kJunctionTag = 0xA0000003;       // IO_REPARSE_TAG_MOUNT_POINT
inline constexpr std::uint32_t kSymbolicLinkTag = 0xA000000C;   // IO_REPARSE_TAG_SYMLINK

// The drive path a junction or an absolute symbolic link leads to
// ("D:\Users"): its substitute name without the "\??\" in front. Empty for a
// relative symbolic link, a volume named by its GUID, any other kind of
// reparse point, and data that does not hold together.
std::u16string ReparseTarget(std::span<const std::uint8_t> data);

}  // namespace cc
