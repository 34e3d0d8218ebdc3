#include "app/Program.h"

namespace cc {

Program::Program(ControlLayer& controls) : controls_(controls) {
    // Feature handlers register here as each feature is built.
    (void)controls_;
}

}  // namespace cc
