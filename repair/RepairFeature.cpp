#include "repair/RepairFeature.h"

namespace cc {

void AttachRepair(ControlLayer&, ProgramState&, Platform&) {}

}  // namespace cc
