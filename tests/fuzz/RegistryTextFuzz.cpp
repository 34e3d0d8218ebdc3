// Any bytes under any type, as malware may store them in a value the hijack
// checks read: the text is exactly the units before the first NUL.
#include "FuzzCheck.h"
#include "formats/RegistryText.h"
#include "formats/Wtf8.h"

using namespace cc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint32_t type = data[0] % 12;   // REG_NONE to REG_QWORD and beyond
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    const std::string text = RegistryTextFromBytes(type, bytes);
    if (type != 1 && type != 2) {   // only REG_SZ and REG_EXPAND_SZ hold a text
        fuzz::Require(text.empty(), "only text types read as text");
        return 0;
    }
    std::u16string expected;
    for (std::size_t i = 1; i < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i - 1] | bytes[i] << 8);
        if (!unit) break;
        expected += unit;
    }
    fuzz::Require(Utf16FromWtf8(text) == expected, "the text is the stored units up to the first NUL");
    return 0;
}
