#pragma once
// The few native file calls that open a name relative to a folder already
// open, list a folder through its handle and delete through a handle: what
// the Win32 calls cannot do on NT 5.2. ntdll exports all of them from NT 5.2 on.

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/win32/Handles.h"

namespace cc {

// What an open handle says of the object it reached.
struct OpenedFile {
    ULONG attributes = 0;     // FILE_ATTRIBUTE_*; a reparse point shows as one only where it was not followed
    bool directory = false;
    std::uint64_t id = 0;     // the file system's number for the file on its volume
    std::wstring name;        // its path from the volume's root, as the system names it: "\a\b"
};

enum class OpenFor { Listing, Reading, Deleting };

// Opens `name` (one name, no "\") in the folder `parent`, never through a
// reparse point where the system lets us say so: the link itself is opened,
// and shows as a reparse point. With no parent, `name` is a whole NT path
// ("\??\C:\") and the system resolves it as it does any path.
UniqueHandle OpenNt(HANDLE parent, std::wstring_view name, OpenFor purpose, NTSTATUS& status);
// Attributes, number and name, in one call. The name is the costly part under
// Wine (a round trip to its server and a path look-up).
bool QueryOpened(HANDLE handle, OpenedFile& info);
// Attributes and number only: what the open file is, without its name.
bool QueryIdentity(HANDLE handle, ULONG& attributes, std::uint64_t& id);

struct ListedName {
    std::wstring_view name;
    ULONG attributes;
    std::uint64_t size;
    std::uint64_t id;   // 0 where the file system gives no numbers
};
// Every entry of the open folder, "." and ".." too, in the file system's order;
// `between` (if set) runs between the pieces of a long listing.
bool ListOpenFolder(HANDLE folder, const std::function<void(const ListedName&)>& each,
                    const std::function<void()>& between = {});

// Marks the open file for deletion: it goes when its last handle closes.
// A read-only file refuses, as it refuses DeleteFileW.
bool MarkForDeletion(HANDLE file);

// Whether two names are the same, letter case folded as the file system folds it.
bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b);

// Whether the path the system reports for an open file ("\a\b") is the one
// expected, letter case folded as the file system folds it.
bool SamePathIgnoringCase(std::wstring_view reported, std::wstring_view expected);

}  // namespace cc
