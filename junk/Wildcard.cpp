#include "junk/Wildcard.h"

namespace cc {
namespace {

// Simple upper-case mapping of the scripts that have letter case, as the
// file system's up-case table maps them.
char32_t Upper(char32_t c) {
    if (c < 0x80) return (c >= U'a' && c <= U'z') ? c - 0x20 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;                  // Latin-1
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {                                            // Latin Extended-A
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
        return (c % 2 == 1) ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 0x20;               // Greek
    if (c == 0x3C2) return 0x3A3;
    if (c >= 0x3AC && c <= 0x3AF) return c == 0x3AC ? 0x386 : c - 0x25;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;                             // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
        return (c % 2 == 1) ? c - 1 : c;
    if (c >= 0x561 && c <= 0x586) return c - 0x30;                             // Armenian
    if (c >= 0x1E00 && c <= 0x1EFF && c != 0x1E9E) return (c % 2 == 1) ? c - 1 : c;  // Latin Extended Additional
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;                           // full-width Latin
    return c;
}

}  // namespace

std::u32string FoldForMatching(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        auto byte = static_cast<unsigned char>(s[i]);
        char32_t c = 0xFFFD;
        int length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
        if (length == 1) {
            c = byte;
        } else if (length > 1 && i + length <= s.size()) {
            c = byte & (0x7F >> length);
            bool valid = true;
            for (int k = 1; k < length; ++k) {
                auto next = static_cast<unsigned char>(s[i + k]);
                if ((next & 0xC0) != 0x80) valid = false;
                c = (c << 6) | (next & 0x3F);
            }
            if (!valid) c = 0xFFFD, length = 1;
        } else {
            length = 1;
        }
        out.push_back(Upper(c));
        i += static_cast<size_t>(length);
    }
    return out;
}

Wildcard::Wildcard(std::string_view utf8Pattern) : pattern_(FoldForMatching(utf8Pattern)) {}

bool Wildcard::matchesFolded(const std::u32string& name) const {
    if (pattern_.empty()) return false;   // an empty position matches nothing
    const std::u32string& p = pattern_;
    // Greedy matching with one back-track point: linear for patterns with
    // a single "*", and never worse than pattern x name.
    size_t n = 0, k = 0, star = std::u32string::npos, resume = 0;
    while (n < name.size()) {
        if (k < p.size() && (p[k] == U'?' || p[k] == name[n])) {
            ++n;
            ++k;
        } else if (k < p.size() && p[k] == U'*') {
            star = k++;
            resume = n;
        } else if (star != std::u32string::npos) {
            k = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (k < p.size() && p[k] == U'*') ++k;
    return k == p.size();
}

}  // namespace cc
