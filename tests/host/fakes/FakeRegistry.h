#pragma once
#include "platform/Registry.h"

namespace cc::fake {

class FakeRegistry final : public Registry {};

}  // namespace cc::fake
