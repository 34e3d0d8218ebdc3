#pragma once
// The Recycle Bin as Windows keeps it from Vista on: on each drive a hidden
// system folder "$Recycle.Bin", in it a folder of each user's named by the
// user's SID, and in that, for each file put there, the file renamed "$R"
// plus six random letters and its extension, beside its record "$I" of the
// same name (formats/RecycleRecord.h). Explorer lists and restores it from that.
//
// The user is the process's user: elevated by UAC, the same user and bin; run
// as another account, that account's bin, as Explorer run so would use it.

#include <map>
#include <string>
#include <string_view>

#include "platform/win32/Handles.h"

namespace cc {

// Whether this Windows keeps such folders (NT 6 on; XP's bin is a shared index Explorer keeps).
bool KeepsUserBins();

class RecycleBins {
public:
    // Moves the open file (opened with DELETE, held to what was listed) into
    // the bin of `drive` ("C:"), under a name nobody has there, its record
    // written first: `path` is where it was, `size` its size. False leaves it
    // where it is: no bin that can be trusted, a record that cannot be written,
    // a file on another volume.
    bool move(HANDLE file, std::wstring_view drive, std::string_view path, std::uint64_t size);
    // The bins held for the moves of one run are let go.
    void close() { held_.clear(); }

private:
    struct Bin {
        UniqueHfile top, own;   // $Recycle.Bin and the user's folder in it; null: none that can be used
        std::wstring name;      // the user's folder as the system names it: "\$Recycle.Bin\S-1-5-..."
    };
    // The drive's bin of this user's, found or made as Windows makes it, held
    // open so that nobody renames or replaces it while held: a plain folder,
    // no link, owned by the user, Administrators or SYSTEM. On a drive that
    // keeps no access lists (FAT) it is used only where it is there already.
    Bin& binOf(std::wstring_view drive);
    std::map<std::wstring, Bin> held_;
};

}  // namespace cc
