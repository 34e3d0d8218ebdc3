#pragma once
// Starting outside programs and waiting.

namespace cc {

class Processes {
public:
    virtual ~Processes() = default;
};

}  // namespace cc
