#pragma once
// A modal input box: a prompt, one line of text, OK and Cancel.

#include <windows.h>

#include <optional>
#include <string>

namespace cc {

// The text typed when the user confirms; nothing when cancelled.
std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& prompt, const std::wstring& caption,
                                         const std::wstring& initial);

}  // namespace cc
