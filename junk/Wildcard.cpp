#include "junk/Wildcard.h"

#include "junk/UpperCase.h"
#include "platform/Wtf8.h"

namespace cc {
namespace {

// The file system's extra wildcards, which the search rewrites "*", "?" and "." into.
constexpr char16_t kDosStar = u'<', kDosQm = u'>', kDosDot = u'"';

// What the system's search hands the file system for a pattern.
std::u16string Rewrite(std::u16string p) {
    if (p.find_first_of(u"\\/") != std::u16string::npos) return {};
    // Path normalisation drops the trailing dots and blanks of the last component...
    size_t kept = p.find_last_not_of(u". ");
    if (kept == std::u16string::npos) return {};
    bool droppedDot = kept + 1 < p.size() && p[kept + 1] == u'.';
    p.resize(kept + 1);
    if (p == u"*.*") return u"*";
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i] == u'?') p[i] = kDosQm;
        else if (p[i] == u'.' && i + 1 < p.size() && (p[i + 1] == u'?' || p[i + 1] == u'*')) p[i] = kDosDot;
    }
    // ...but a pattern that ended in "*." still asks for names without an extension.
    if (droppedDot && p.back() == u'*') p.back() = kDosStar;
    return p;
}

}  // namespace

std::u16string FoldForMatching(std::string_view name) {
    std::u16string units = Utf16FromWtf8(name);
    for (char16_t& unit : units) unit = UpperCase(unit);
    return units;
}

Wildcard::Wildcard(std::string_view pattern) : expression_(Rewrite(FoldForMatching(pattern))) {}

// The name-in-expression rule, run as a set of expression positions that
// match the name so far: polynomial for any pattern, no back-tracking.
bool Wildcard::matchesFolded(std::u16string_view name) const {
    const std::u16string& e = expression_;
    if (e.empty() || name.empty()) return false;
    const size_t end = name.size(), lastDot = name.rfind(u'.');
    // Positions reachable without reading a character; `at` is the name position.
    auto close = [&](std::string& live, size_t at) {
        for (size_t k = 0; k < e.size(); ++k) {
            if (!live[k]) continue;
            bool skip = e[k] == u'*' || e[k] == kDosStar ||
                        (e[k] == kDosQm && (at == end || name[at] == u'.')) ||   // DOS_QM: nothing at a dot or the end
                        (e[k] == kDosDot && at == end);                           // DOS_DOT: nothing past the end
            if (skip) live[k + 1] = 1;
        }
    };
    std::string live(e.size() + 1, 0), next(e.size() + 1, 0);
    live[0] = 1;
    close(live, 0);
    for (size_t at = 0; at < end; ++at) {
        const char16_t c = name[at];
        bool any = false;
        next.assign(e.size() + 1, 0);
        for (size_t k = 0; k < e.size(); ++k) {
            if (!live[k]) continue;
            switch (e[k]) {
                case u'*': next[k] = 1; break;
                // DOS_STAR never takes the name's last dot: that one belongs to the extension.
                case kDosStar: if (c != u'.' || at < lastDot) next[k] = 1; break;
                case kDosQm: if (c != u'.') next[k + 1] = 1; break;
                case kDosDot: if (c == u'.') next[k + 1] = 1; break;
                default: if (e[k] == c) next[k + 1] = 1;
            }
        }
        close(next, at + 1);
        for (char flag : next) any = any || flag;
        if (!any) return false;
        live.swap(next);
    }
    return live[e.size()] != 0;
}

}  // namespace cc
