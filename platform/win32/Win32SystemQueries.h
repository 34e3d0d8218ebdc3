#pragma once
#include "platform/SystemQueries.h"

namespace cc {

class Win32SystemQueries final : public SystemQueries {};

}  // namespace cc
