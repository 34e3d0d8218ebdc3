#pragma once
#include "platform/Registry.h"

namespace cc {

class Win32Registry final : public Registry {};

}  // namespace cc
