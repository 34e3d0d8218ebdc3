// Any pattern a user types against any name a user makes: the one-word
// matcher, the general one and the "*.ext" shortcut always agree.
#include <string_view>

#include "FuzzCheck.h"
#include "junk/Wildcard.h"

using namespace cc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t cut = input.find('\0');
    if (cut == std::string_view::npos) return 0;   // "pattern\0name"
    const Wildcard pattern(input.substr(0, cut));
    const std::u16string name = FoldForMatching(input.substr(cut + 1));
    if (pattern.empty() || name.empty()) return 0;
    const bool general = pattern.matchesLong(name);
    if (pattern.expressionSize() < 64) fuzz::Require(pattern.matchesShort(name) == general, "the two matchers agree");
    fuzz::Require(pattern.matchesFolded(name) == general, "the shortcut agrees with the rule");
    return 0;
}
