#pragma once
// WTF-8 inside the program (formats/Wtf8.h), UTF-16 at the Win32 boundary:
// a name that is not valid UTF-16 converts back to the very same name.

#include <string>
#include <string_view>

namespace cc {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view utf16);

}  // namespace cc
