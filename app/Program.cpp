#include "app/Program.h"

#include "ui/Frame.h"

namespace cc {

Program::Program(ControlLayer& controls, Platform& platform) : controls_(controls), platform_(platform) {
    AttachFrame(controls_, state_);
}

}  // namespace cc
