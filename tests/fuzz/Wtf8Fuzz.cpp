// Names any user can make: every UTF-16 unit sequence (unpaired surrogates
// too) survives WTF-8 and back, and any bytes settle after one conversion.
#include "FuzzCheck.h"
#include "formats/Wtf8.h"

using namespace cc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string units;
    for (std::size_t i = 1; i < size; i += 2) units += static_cast<char16_t>(data[i - 1] | data[i] << 8);
    fuzz::Require(Utf16FromWtf8(Wtf8FromUtf16(units)) == units, "UTF-16 -> WTF-8 -> UTF-16 is the identity");
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string once = Wtf8FromUtf16(Utf16FromWtf8(text));
    fuzz::Require(Wtf8FromUtf16(Utf16FromWtf8(once)) == once, "converted text converts to itself");
    return 0;
}
