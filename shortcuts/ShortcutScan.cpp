#include "shortcuts/ShortcutScan.h"

#include <algorithm>

#include "files/CheckedFiles.h"
#include "files/FolderWalk.h"
#include "ui/ListActions.h"
#include "ui/LongWork.h"

namespace cc {
namespace {

bool IsShortcutName(std::string_view name) {   // "*.lnk", case ignored
    if (name.size() < 4) return false;
    std::string_view ext = name.substr(name.size() - 4);
    auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; };
    return ext[0] == '.' && lower(ext[1]) == 'l' && lower(ext[2]) == 'n' && lower(ext[3]) == 'k';
}

// "C:" (upper case, as the system names drives) of a full path on a drive ("C:\x", "\\?\C:\x"); "" for any other path
// (relative, a server's, a device's, a volume's by GUID).
std::string DriveOf(std::string_view path) {
    auto separator = [](char ch) { return ch == '\\' || ch == '/'; };
    if (path.size() >= 4 && separator(path[0]) && separator(path[1]) && path[2] == '?' && separator(path[3])) path.remove_prefix(4);
    const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    if (path.size() < 3 || letter < 'a' || letter > 'z' || path[1] != ':' || !separator(path[2])) return {};
    return {static_cast<char>(letter - 'a' + 'A'), ':'};
}

}  // namespace

bool IsWorkingShortcut(FileSystem& files, std::string_view path, const std::vector<std::string>& fixedDrives,
                       std::vector<std::string>* answered) {
    const ShortcutTarget target = files.readShortcut(path);
    // No target to judge by (a damaged file, one that is no shortcut), a shell item elsewhere, or not judged:
    // never listed, as deleting what we do not understand is not ours to do.
    if (target.kind != ShortcutTarget::Kind::Path) return true;
    const std::string drive = DriveOf(target.path);
    const bool judged = !drive.empty() && std::find(fixedDrives.begin(), fixedDrives.end(), drive) != fixedDrives.end();
    // Gone only when nothing is known to be there (a target that cannot be looked at is not judged
    // gone) while its drive still answers: a disk taken away during the scan judges nothing.
    if (!judged || files.findPath(target.path) != Lookup::Missing) return true;
    if (answered && std::find(answered->begin(), answered->end(), drive) != answered->end()) return false;
    if (!files.driveSpace(drive)) return true;
    if (answered) answered->push_back(drive);
    return false;
}

std::string InvalidTotalText(std::uint64_t totalBytes) {
    return "无效文件共有 " + std::to_string(totalBytes / 1024) + "KB";
}

ShortcutScan::ShortcutScan(ControlLayer& controls, FileSystem& files) : c_(controls), files_(files) {}

void ShortcutScan::scanClicked() {
    LongWork shown(c_);
    c_.setControlBox(false);
    c_.setCaption(kShortcutScanButton, "扫描中..");
    c_.setDisabled(kShortcutScanButton, true);
    c_.clearItems(kShortcutList);
    listed_.clear();
    fixedDrives_ = files_.drives(true);
    for (const std::string& drive : files_.drives(false))
        if (!walk(drive + "\\")) return;   // the window is gone
    c_.setCaption(kShortcutScanButton, "扫描");
    c_.setDisabled(kShortcutScanButton, false);
    c_.setControlBox(true);
    SetAllChecked(c_, kShortcutList, true);
    // The total last: it tells that the scan has ended, so everything else must be back by then.
    c_.setCaption(kResultHeading, "扫描结果:");
    c_.setCaption(kShortcutStatus, InvalidTotalText(TotalSize(listed_)));
}

bool ShortcutScan::walk(const std::string& drive) {
    FolderCacheScope folderCache(files_);
    const std::unique_ptr<DriveFolders> folders = files_.driveFolders(drive, [this] { c_.keepAnswering(); });
    return WalkFolders(
        drive,
        [this] {
            c_.processPendingMessages();
            return !c_.windowClosed();
        },
        [this, &folders](const std::string& path) { return examineFolder(*folders, path); });
}

std::vector<std::string> ShortcutScan::examineFolder(DriveFolders& drive, const std::string& path) {
    std::vector<FolderEntry> entries = drive.list(path, [this] { c_.keepAnswering(); });
    answeredDrives_.clear();
    std::vector<std::string> folders;
    for (FolderEntry& entry : entries) {
        // Dot-folders are skipped; links and junctions are not followed, so
        // no folder is visited twice and no walk loops.
        if (entry.folder) {
            if (!entry.reparsePoint && !entry.name.empty() && entry.name[0] != '.') folders.push_back(entry.name);
            continue;   // a folder named x.lnk is no shortcut
        }
        if (!IsShortcutName(entry.name)) continue;
        c_.keepAnswering();   // each shortcut is opened and read
        std::string shortcut = path + entry.name;
        c_.setPassingCaption(kShortcutStatus, shortcut);
        if (!IsWorkingShortcut(files_, shortcut, fixedDrives_, &answeredDrives_)) {
            c_.addItem(kShortcutList, shortcut);
            listed_.push_back({entry.size, entry.id});
        }
    }
    return folders;
}

void ShortcutScan::deleteClicked() {
    if (c_.itemCount(kShortcutList) == 0) {
        if (c_.messageBox("删除项目为空,是否进行扫描?", "", MessageKind::OkCancelInfo)) scanClicked();
        return;
    }
    // 标签1 keeps the last scan's total.
    ReportFilesThatStayed(c_, DeleteCheckedFiles(c_, kShortcutList, files_, listed_));
}

}  // namespace cc
