#include "junk/JunkFeature.h"

namespace cc {

void AttachJunk(ControlLayer&, ProgramState&, Platform&) {}

}  // namespace cc
