#pragma once
// Reads the target of a shortcut (.lnk) file from its bytes, as the shell
// link format is published ([MS-SHLLINK]), without the shell: no COM object,
// no shell folder bound, no file or device opened. An item list becomes a
// path only when it is a plain file-system list (the computer, a drive, then
// files and folders by their long names); any other list is Elsewhere.
// Where the target comes from, first that applies:
//   the header's HasDarwinID: an installer-advertised shortcut, Elsewhere;
//   HasExpString with a target in the environment block: that text, %VAR% expanded
//   (not judged where no environment is trusted and it names a variable);
//   an item list: its path, with a known or special folder at its current place;
//   LinkInfo, when the list names no path: the local base path and common
//   suffix, or the share and suffix;
//   none of them (a relative path or arguments only): Unreadable.
// Every length and offset is checked against the bytes. An item list that
// breaks off makes the file Unreadable; any part after it that breaks off
// (LinkInfo, a string, an extra block) ends the reading there, and the link is
// judged by the target the parts before it name (ShellLink.cpp says why).

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "state/ShortcutTarget.h"

namespace cc {

// A folder a link follows to where it is now: a known folder (its GUID, as
// stored) or, for older links, a special folder (its CSIDL); or a root item's
// shell folder (its class, as stored), such as the user's folder.
struct ShellFolderId {
    bool known = false;
    std::array<std::uint8_t, 16> guid{};
    std::uint32_t csidl = 0;
    bool rootItem = false;   // with known: the GUID is a shell folder's class
};

// What the reader needs from the system, injected so the core stays portable.
struct ShellLinkServices {
    std::function<std::string(std::string_view)> ansiToUtf8;     // the system code page
    // %VAR% from this program's environment; empty where that environment is not to be trusted
    // for this link (one another user may rely on, steered by a variable this user set).
    std::function<std::string(std::string_view)> expand;
    std::function<std::optional<std::string>(const ShellFolderId&)> folderPath;   // none when unknown
};

struct ShellLinkReading {
    ShortcutTarget target;   // Path (not yet normalised), Elsewhere, NotJudged or Unreadable
    std::size_t bytesUsed = 0;   // no byte at or past this one was looked at
};

ShellLinkReading ReadShellLink(std::span<const std::uint8_t> bytes, const ShellLinkServices& services);

}  // namespace cc
