#pragma once
#include "platform/Resources.h"

namespace cc {

// The RCDATA resources of the running program's own module.
class Win32Resources final : public Resources {
public:
    std::span<const std::byte> block(int resourceId) override;
};

}  // namespace cc
