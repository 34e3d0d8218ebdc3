#pragma once
// The Windows registry as the features see it.

namespace cc {

class Registry {
public:
    virtual ~Registry() = default;
};

}  // namespace cc
