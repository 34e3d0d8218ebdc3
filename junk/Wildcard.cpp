#include "junk/Wildcard.h"

#include <algorithm>

#include "junk/UpperCase.h"
#include "formats/Wtf8.h"

namespace cc {
namespace {

// The file system's extra wildcards, which the search rewrites "*", "?" and "." into.
constexpr char16_t kDosStar = u'<', kDosQm = u'>', kDosDot = u'"';
constexpr char16_t kWildcards[] = {u'*', kDosStar, kDosQm, kDosDot, 0};

// What the system's search hands the file system for a pattern.
std::u16string Rewrite(std::u16string p) {
    if (p.find_first_of(u"\\/") != std::u16string::npos) return {};
    // Path normalisation drops the trailing dots and blanks of the last
    // component, but the search remembers a dot it dropped after a "*".
    size_t kept = p.find_last_not_of(u". ");
    if (kept == std::u16string::npos) return {};
    bool droppedDot = p.substr(kept + 1).starts_with(u'.');
    p.resize(kept + 1);
    if (p == u"*.*") return u"*";
    // Each unit looks at the one after it, which is not rewritten yet.
    for (size_t after = 1; char16_t& unit : p) {
        const char16_t next = after < p.size() ? p[after] : (droppedDot ? u'.' : u'\0');
        ++after;
        if (unit == u'*' && next == u'.') unit = kDosStar;
        else if (unit == u'?') unit = kDosQm;
        else if (unit == u'.' && (next == u'?' || next == u'*')) unit = kDosDot;
    }
    return p;
}

}  // namespace

std::u16string FoldForMatching(std::string_view name) {
    std::u16string units = Utf16FromWtf8(name);
    for (char16_t& unit : units) unit = UpperCase(unit);
    return units;
}

Wildcard::Wildcard(std::string_view pattern) : expression_(Rewrite(FoldForMatching(pattern))) {
    // "*.tmp" becomes "<.tmp": a literal rest that begins with a dot holds the
    // name's last dot, so DOS_STAR is as good as "*" and a suffix test decides.
    const std::u16string_view e = expression_;
    const bool leadingStar = e.starts_with(u'*') || (e.starts_with(kDosStar) && e.substr(1).starts_with(u'.'));
    suffixOnly_ = leadingStar && e.find_first_of(kWildcards, 1) == std::u16string_view::npos;
    oneWord_ = e.size() < 64;
    if (!oneWord_) return;   // the general matcher handles it
    for (size_t k = 0; k < e.size(); ++k) {
        const std::uint64_t bit = std::uint64_t{1} << k;
        if (e[k] == u'*') star_ |= bit;
        else if (e[k] == kDosStar) dosStar_ |= bit;
        else if (e[k] == kDosQm) dosQm_ |= bit;
        else if (e[k] == kDosDot) dosDot_ |= bit;
        else {
            auto same = std::find_if(literals_.begin(), literals_.end(), [&](auto& l) { return l.first == e[k]; });
            if (same == literals_.end()) literals_.emplace_back(e[k], bit);
            else same->second |= bit;
        }
    }
}

bool Wildcard::matchesFolded(std::u16string_view name) const {
    if (expression_.empty() || name.empty()) return false;
    if (suffixOnly_) return name.ends_with(std::u16string_view(expression_).substr(1));   // "*.tmp": most patterns
    return oneWord_ ? matchesShort(name) : matchesLong(name);
}

// The name-in-expression rule, run as the set of expression positions that
// match the name so far (bit k: position k): linear in the name, no back-tracking.
bool Wildcard::matchesShort(std::u16string_view name) const {
    const size_t end = name.size(), lastDot = name.rfind(u'.');
    // Positions reachable without reading a character, before name position `at`.
    auto close = [&](std::uint64_t live, size_t at) {
        const bool atEnd = at == end, atDot = !atEnd && name[at] == u'.';
        // DOS_QM takes nothing at a dot or the end; DOS_DOT nothing past the end.
        const std::uint64_t skip = star_ | dosStar_ | (atEnd || atDot ? dosQm_ : 0) | (atEnd ? dosDot_ : 0);
        for (std::uint64_t more = (live & skip) << 1; more & ~live; more = (live & skip) << 1) live |= more;
        return live;
    };
    // A dot that ends the name is taken by a DOS_STAR or DOS_QM that ends the
    // expression ("abc." is found by "abc?" and "*.", as Windows finds it).
    const std::uint64_t last = std::uint64_t{1} << (expression_.size() - 1);
    std::uint64_t live = close(1, 0);
    for (size_t at = 0; at < end && live; ++at) {
        const char16_t c = name[at];
        const bool finalDot = c == u'.' && at + 1 == end;
        std::uint64_t literal = 0;
        for (const auto& [unit, bits] : literals_) if (unit == c) literal = bits;
        // DOS_STAR never takes the name's last dot: that one belongs to the extension.
        const std::uint64_t stay = star_ | (c != u'.' || at < lastDot ? dosStar_ : finalDot ? dosStar_ & last : 0);
        const std::uint64_t advance = literal | (c == u'.' ? dosDot_ | (finalDot ? dosQm_ & last : 0) : dosQm_);
        live = close((live & stay) | ((live & advance) << 1), at + 1);
    }
    return (live >> expression_.size()) & 1;
}

// The same rule for expressions too long for one word of positions.
bool Wildcard::matchesLong(std::u16string_view name) const {
    const std::u16string_view e = expression_;
    const size_t end = name.size(), lastDot = name.rfind(u'.');
    auto close = [&](std::string& live, size_t at) {
        for (size_t k = 0; k < e.size(); ++k) {
            bool skip = e[k] == u'*' || e[k] == kDosStar || (e[k] == kDosQm && (at == end || name[at] == u'.')) ||
                        (e[k] == kDosDot && at == end);
            if (live[k] && skip) live[k + 1] = 1;
        }
    };
    std::string live(e.size() + 1, 0), next;
    live[0] = 1;
    close(live, 0);
    for (size_t at = 0; at < end; ++at) {
        const char16_t c = name[at];
        next.assign(e.size() + 1, 0);
        for (size_t k = 0; k < e.size(); ++k) {
            if (!live[k]) continue;
            const bool finalDotAtEnd = c == u'.' && at + 1 == end && k + 1 == e.size();
            // The stars stay, the rest move on by one; the position before may have moved on to k already.
            if (e[k] == u'*') next[k] = 1;
            else if (e[k] == kDosStar) next[k] |= c != u'.' || at < lastDot || finalDotAtEnd;
            else if (e[k] == kDosQm) next[k + 1] = c != u'.' || finalDotAtEnd;
            else if (e[k] == kDosDot) next[k + 1] = c == u'.';
            else next[k + 1] = e[k] == c;
        }
        close(next, at + 1);
        live.swap(next);
    }
    return live[e.size()] != 0;
}

}  // namespace cc
