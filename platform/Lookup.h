#pragma once

namespace cc {

// What a look at something that may not be there found. Failed: it may be
// there, but could not be read, so nothing may be concluded from it.
enum class Lookup { Found, Missing, Failed };

}  // namespace cc
