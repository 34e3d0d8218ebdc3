#pragma once
// What a shortcut file leads to, as the shortcut reader judges it.

#include <string>

namespace cc {

struct ShortcutTarget {
    enum class Kind {
        Unreadable,   // not a readable shortcut, or one without any target
        Elsewhere,    // a target that is no file-system path: an installer-advertised
                      // shortcut, or a shell item such as the Control Panel
        Path,         // a file-system path, normalised as Windows resolves it
        NotJudged,    // not looked at: another program holds it, access is denied, or it is
                      // no plain file on disk under its own name (a link, a pipe, a device)
    };
    Kind kind = Kind::Unreadable;
    std::string path;
};

}  // namespace cc
