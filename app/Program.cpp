#include "app/Program.h"

#include "ui/Frame.h"

namespace cc {

Program::Program(ControlLayer& controls) : controls_(controls) {
    AttachFrame(controls_, state_);
}

}  // namespace cc
