#pragma once
#include "platform/SystemQueries.h"

namespace cc::fake {

class FakeSystemQueries final : public SystemQueries {};

}  // namespace cc::fake
