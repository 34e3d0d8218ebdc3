#pragma once
// File-name patterns matched as Windows' own search matches them, on the long
// name only: unlike the system's search, "*.log" never matches
// "notes.logbook" through its 8.3 alias.
//
// The search first rewrites the pattern (trailing dots and blanks go, "*.*"
// becomes "*", "?" becomes DOS_QM, a "." before "?" or "*" DOS_DOT, and a
// final "*." DOS_STAR), then the file system matches it against the name in
// UTF-16 code units, both folded with its upper-case table. A pattern with
// "\" or "/" in it names another folder and matches nothing.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cc {

// A name (WTF-8) as the matcher compares it: UTF-16 code units, upper case.
std::u16string FoldForMatching(std::string_view name);

// A pattern prepared once for matching many names.
class Wildcard {
public:
    explicit Wildcard(std::string_view pattern);
    bool matches(std::string_view name) const { return matchesFolded(FoldForMatching(name)); }
    // For a name already passed through FoldForMatching: fold once, match many.
    bool matchesFolded(std::u16string_view name) const;
    bool empty() const { return expression_.empty(); }   // matches nothing

    // The two ways behind matchesFolded, without its shortcut for "*.ext":
    // positions in one word (expressions shorter than 64 units only) and the
    // general one. Public so that tests and the fuzzer hold them to each other.
    bool matchesShort(std::u16string_view name) const;
    bool matchesLong(std::u16string_view name) const;
    std::size_t expressionSize() const { return expression_.size(); }

private:
    std::u16string expression_;   // rewritten and folded
    bool suffixOnly_ = false;     // "*" and then no wildcard: a name that ends so
    bool oneWord_ = false;        // shorter than 64 units: matchesShort's positions are built
    // For expressions shorter than 64 units: bit k stands for position k.
    std::uint64_t star_ = 0, dosStar_ = 0, dosQm_ = 0, dosDot_ = 0;
    std::vector<std::pair<char16_t, std::uint64_t>> literals_;   // each unit's positions
};

}  // namespace cc
