#pragma once
// The program's byte blocks, as a test gives them.

#include <map>
#include <vector>

#include "platform/Resources.h"

namespace cc::fake {

class FakeResources final : public Resources {
public:
    std::map<int, std::vector<std::byte>> blocks;

    std::span<const std::byte> block(int resourceId) override {
        auto it = blocks.find(resourceId);
        return it == blocks.end() ? std::span<const std::byte>() : std::span<const std::byte>(it->second);
    }
};

}  // namespace cc::fake
