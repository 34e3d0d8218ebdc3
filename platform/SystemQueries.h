#pragma once
// Facts about the machine: board, disks, adapters, operating system,
// processor and memory.

namespace cc {

class SystemQueries {
public:
    virtual ~SystemQueries() = default;
};

}  // namespace cc
