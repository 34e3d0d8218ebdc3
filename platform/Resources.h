#pragma once
// Byte blocks the program carries with it.

#include <cstddef>
#include <span>

namespace cc {

class Resources {
public:
    virtual ~Resources() = default;

    // The whole block stored under this id (resources/ResourceIds.h), or an
    // empty span when the program was built without it.
    virtual std::span<const std::byte> block(int resourceId) = 0;
};

}  // namespace cc
