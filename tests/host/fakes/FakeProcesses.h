#pragma once
#include "platform/Processes.h"

namespace cc::fake {

class FakeProcesses final : public Processes {};

}  // namespace cc::fake
