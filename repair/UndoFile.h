#pragma once
// The file that puts registry values back as they were before a repair: the
// format regedit imports, so that a double-click undoes the repair.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace cc {

// A value as it was before a repair changed it.
struct ValueBefore {
    RegistryValue where;
    std::optional<RegistryData> data;   // none: the value was not there
    // The topmost key the repair creates on its way to the value (a leading
    // part of `where.key`); empty when the value's key was already there.
    std::string_view createdKey;
};

// "Windows Registry Editor Version 5.00" text in UTF-16LE with its BOM and
// CRLF lines. A value that was there comes back with its own type and bytes:
// a plain REG_SZ as a quoted string, anything else as hex(type) bytes; a
// value that was not there is deleted, a key the repair created removed.
std::vector<std::byte> UndoFileFor(std::span<const ValueBefore> values);

// The bytes a REG_SZ value holds for `text`: its UTF-16 units and a NUL.
std::vector<std::uint8_t> TextValueBytes(std::string_view text);

}  // namespace cc
