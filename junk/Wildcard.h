#pragma once
// File-name wildcards as the junk cleaner shows them: "*" is any run of
// characters (also none), "?" exactly one character, everything else stands
// for itself, and letter case is ignored the way Windows file names ignore it
// (letters outside ASCII too). Only the long name counts: unlike the system's
// own search, "*.log" never matches "notes.logbook" through an 8.3 alias.

#include <string>
#include <string_view>

namespace cc {

// Decodes UTF-8 and folds every character to its upper case; invalid bytes
// become U+FFFD, so any byte string can be matched.
std::u32string FoldForMatching(std::string_view utf8);

// A pattern prepared once for matching many names.
class Wildcard {
public:
    explicit Wildcard(std::string_view utf8Pattern);
    bool matches(std::string_view utf8Name) const { return matchesFolded(FoldForMatching(utf8Name)); }
    // For a name already passed through FoldForMatching: fold once, match many.
    bool matchesFolded(const std::u32string& name) const;
    bool empty() const { return pattern_.empty(); }

private:
    std::u32string pattern_;   // folded
};

}  // namespace cc
