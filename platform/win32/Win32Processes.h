#pragma once
#include "platform/Processes.h"

namespace cc {

class Win32Processes final : public Processes {};

}  // namespace cc
