#include "shortcuts/ShortcutsFeature.h"

namespace cc {

void AttachShortcuts(ControlLayer&, ProgramState&, Platform&) {}

}  // namespace cc
