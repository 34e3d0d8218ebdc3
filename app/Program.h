#pragma once
// The program: its state and the feature handlers, wired to a control layer.
// The same wiring runs on the real window and on the in-memory model.

#include "platform/Platform.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

class Program {
public:
    Program(ControlLayer& controls, Platform& platform);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    ProgramState& state() { return state_; }

private:
    ControlLayer& controls_;
    Platform& platform_;
    ProgramState state_;
};

}  // namespace cc
