#include "platform/win32/Utf.h"

#include "formats/Wtf8.h"

namespace cc {

// wchar_t is one UTF-16 code unit on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Widen(std::string_view text) {
    std::u16string units = Utf16FromWtf8(text);
    return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view utf16) {
    return Wtf8FromUtf16(std::u16string(utf16.begin(), utf16.end()));
}

}  // namespace cc
