#pragma once
// The few native file calls that open a name relative to a folder already
// open, list a folder through its handle and delete through a handle: what
// the Win32 calls cannot do on NT 5.2. ntdll exports all of them from NT 5.2 on.

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/win32/Handles.h"

namespace cc {

// What an open handle says of the object it reached.
struct OpenedFile {
    ULONG attributes = 0;     // FILE_ATTRIBUTE_*; a reparse point shows as one only where it was not followed
    bool directory = false;
    std::uint64_t id = 0;     // the file system's number for the file on its volume
    std::uint64_t size = 0;   // of its data, in bytes
    std::wstring name;        // its path from the volume's root, as the system names it: "\a\b"
};

enum class OpenFor {
    Listing, Reading, Deleting,
    Changing,     // its attributes
    Owner,        // whatever it is, a link too: its owner and reparse data
    Holding,      // whatever it is, to tell its owner; held as MakeNt holds a folder
};

// What MakeNt makes in a folder: a new file to write, or a new folder.
// Folders are held without sharing their deletion, so that nobody renames or
// replaces them while they are held.
enum class MakeAs { File, Folder };

// Opens `name` (one name, no "\") in the folder `parent`, never through a
// reparse point where the system lets us say so: the link itself is opened,
// and shows as a reparse point. With no parent, `name` is a whole NT path
// ("\??\C:\") and the system resolves it as it does any path.
UniqueHfile OpenNt(HANDLE parent, std::wstring_view name, OpenFor purpose, NTSTATUS& status);
// Makes `name` new in the folder `parent`, relative to its handle and never
// through a reparse point: a name that is there already (a link too) is a
// collision. `security`, if given, is what it is made with; else it inherits
// the folder's. `attributes` (FILE_ATTRIBUTE_*) are given as it is made.
UniqueHfile MakeNt(HANDLE parent, std::wstring_view name, MakeAs what, NTSTATUS& status,
                   PSECURITY_DESCRIPTOR security = nullptr, ULONG attributes = FILE_ATTRIBUTE_NORMAL);
constexpr NTSTATUS kNameCollision = static_cast<NTSTATUS>(0xC0000035);
// Whether the open handle is a plain file or folder, as asked, no reparse
// point, that the system names `expected` ("\a\b"): where a link led
// (Wine follows links whatever it is asked) the name tells.
bool IsPlainAt(HANDLE handle, bool folder, std::wstring_view expected, OpenedFile* opened = nullptr);
// Renames the open file to `name` in the open folder `folder`, replacing a
// file of that name (never one that is read-only or open) unless told not
// to: then a name that is taken is a collision (`status`). The name is an
// entry of that folder: a link there is replaced, not followed.
bool RenameInto(HANDLE file, HANDLE folder, std::wstring_view name, bool replace = true, NTSTATUS* status = nullptr);
// Writes all the bytes to the open file at its position, and to the disk.
bool WriteAll(HANDLE file, std::span<const std::byte> content);
// Sets the attributes of the open file (FILE_ATTRIBUTE_*), nothing else.
bool SetAttributes(HANDLE file, ULONG attributes);
// Attributes, number and name, in one call. The name is the costly part under
// Wine (a round trip to its server and a path look-up).
bool QueryOpened(HANDLE handle, OpenedFile& info);
// What the open file is, without its name: its attributes, number, size and kind.
bool QueryIdentity(HANDLE handle, OpenedFile& info);

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
