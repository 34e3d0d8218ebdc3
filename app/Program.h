#pragma once
// The program: its state and the feature handlers, wired to a control layer.
// The same wiring runs on the real window and on the in-memory model.

#include "app/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

class Program {
public:
    explicit Program(ControlLayer& controls);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    ProgramState& state() { return state_; }

private:
    ControlLayer& controls_;
    ProgramState state_;
};

}  // namespace cc
