#pragma once
// The invalid-shortcut page: the scan of every drive for shortcuts whose
// target is gone, and the deletion of the checked ones.

#include <cstdint>
#include <string>
#include <vector>

#include "files/CheckedFiles.h"
#include "platform/FileSystem.h"
#include "shortcuts/ShortcutControls.h"
#include "ui/ControlLayer.h"

namespace cc {

// Working shortcuts: a target that exists (file or folder) or cannot be
// looked at, or one that is no file-system path at all. A file from which no
// target can be had (damaged, no shortcut at all) and one that cannot be looked
// at or read (in use, access denied, an I/O error, a link) are not judged and
// count as working, so that they are never listed for deletion.
// A target is judged only on a local hard disk as this process sees it
// (`fixedDrives`, "C:" each) whose root still answers: an elevated program does
// not see the user's network drives or subst drives, an empty card reader or
// DVD drive answers "not ready", and a server (\\server\share) or device (\\.\)
// is never probed. Such a shortcut, or one with a relative target, counts as working.
// `answered`, if given, holds the drives whose root answered already, and gains each that answers now: each
// ask opens the root, and one folder may hold thousands of broken shortcuts.
bool IsWorkingShortcut(FileSystem& files, std::string_view path, const std::vector<std::string>& fixedDrives,
                       std::vector<std::string>* answered = nullptr);

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
    std::vector<std::string> fixedDrives_;   // where targets are judged, as the scan began
    std::vector<std::string> answeredDrives_;   // whose root answered for this folder's shortcuts; asked again in the next
};

}  // namespace cc
