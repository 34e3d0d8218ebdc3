#pragma once
// The invalid-shortcut page: the scan of every drive for shortcuts whose
// target is gone, and the deletion of the checked ones.

#include <cstdint>
#include <string>
#include <vector>

#include "files/CheckedFiles.h"
#include "platform/FileSystem.h"
#include "ui/ControlLayer.h"

namespace cc {

inline constexpr std::string_view kShortcutList = "选择1";

// Working shortcuts: a target that exists (file or folder), or one that is
// no file-system path at all. A file that is no readable shortcut is invalid; one
// that cannot be looked at (in use, access denied, a link) is not judged and
// counts as working, so that it is never listed for deletion. A target on
// another machine (\\server\share) or a device (\\.\) is never probed: the
// elevated scan would sign in to a server some user chose, and a dead one
// costs each probe many seconds. Such a shortcut counts as working.
bool IsWorkingShortcut(FileSystem& files, std::string_view path);

std::string InvalidTotalText(std::uint64_t totalBytes);

class ShortcutScan {
public:
    ShortcutScan(ControlLayer& controls, FileSystem& files);
    void scanClicked();
    void deleteClicked();

private:
    bool walk(const std::string& drive);   // false once the window has closed
    // Judges one folder's shortcuts; gives back the subfolders to enter.
    std::vector<std::string> examineFolder(DriveFolders& drive, const std::string& path);

    ControlLayer& c_;
    FileSystem& files_;
    std::vector<ListedFile> listed_;     // what the listing said of each listed file, for the total and the delete
};

}  // namespace cc
