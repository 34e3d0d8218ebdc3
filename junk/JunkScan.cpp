#include "junk/JunkScan.h"

#include <algorithm>
#include <cstdio>

#include "files/FolderWalk.h"
#include "junk/DiskSpace.h"
#include "junk/PatternList.h"
#include "ui/Catalogue.h"
#include "ui/ListActions.h"
#include "ui/LongWork.h"

namespace cc {
namespace {

constexpr std::string_view kStopCaption = "停止";
constexpr std::string_view kIdleCaption = "扫描";
constexpr std::string_view kDoneTitle = "澄川清理专家";

}  // namespace

std::string SizeEstimateText(std::uint64_t totalBytes) {
    double total = static_cast<double>(totalBytes);
    bool kilobytes = totalBytes < 1048576;   // below 1024 KB
    char number[64];
    std::snprintf(number, sizeof number, "%.3f", kilobytes ? total / 1024 : total / 1048576);
    return std::string("扫描到的文件约有") + number + (kilobytes ? "KB" : "MB");
}

JunkScan::JunkScan(ControlLayer& controls, ProgramState& state, FileSystem& files)
    : c_(controls), state_(state), files_(files) {}

bool JunkScan::stopped() const { return c_.caption(kScanButton) != kStopCaption; }

void JunkScan::scanClicked() {
    if (c_.caption(kScanButton) == kStopCaption) {
        c_.setCaption(kEstimateLabel, "");
        requestStop();
        return;
    }
    // The scan searches the pattern table, so it must match the marks now.
    RefreshPatternTable(c_, state_.JunkPatterns);
    // A scan that would search nothing says so and changes nothing: an empty
    // result would read as a clean disk.
    if (!AnyChecked(c_, kPatternList)) {
        c_.messageBox("请先在“类型”页勾选要查找的文件类型。", kProgramName, MessageKind::OkInfo);
        return;
    }
    if (!AnyChecked(c_, kDriveList)) {
        c_.messageBox("请先在“磁盘”页勾选要扫描的磁盘。", kProgramName, MessageKind::OkInfo);
        return;
    }
    c_.setCaption(kEstimateLabel, "");

    LongWork shown(c_);
    c_.clearItems(kResultList);
    listed_.clear();
    c_.setCaption(kScanButton, kStopCaption);
    pendingTitle_.clear();   // the title never shows a folder of an earlier scan
    // The drive list is read afresh at every step: a handler run during the
    // walk may rebuild it.
    for (int d = 0; d < c_.itemCount(kDriveList); ++d) {
        if (!c_.itemChecked(kDriveList, d)) continue;
        if (!walk(c_.itemText(kDriveList, d).substr(0, 2))) return;   // the window is gone
    }
    SetAllChecked(c_, kResultList, true);
    c_.setWindowTitle(kDoneTitle);
    c_.setCaption(kScanButton, kIdleCaption);
    updateEstimate();
}

void JunkScan::requestStop() {
    SetAllChecked(c_, kResultList, true);
    c_.setWindowTitle("");
    c_.setCaption(kScanButton, kIdleCaption);
    updateEstimate();
}

// Only the title set last before a pump can ever be seen, so the walk keeps
// what it would show and sets the title once per folder.
void JunkScan::showTitleBeforePump() {
    if (!pendingTitle_.empty() && c_.windowTitle() != pendingTitle_) c_.setWindowTitle(pendingTitle_);
}

const std::vector<Wildcard>& JunkScan::patterns(int count) {
    // The table only changes while messages are processed; recompile then.
    int slots = std::min(count, kJunkPatternSlots);   // items past the table have no slot
    if (static_cast<int>(patternTexts_.size()) != slots ||
        !std::equal(patternTexts_.begin(), patternTexts_.end(), state_.JunkPatterns.begin())) {
        patternTexts_.assign(state_.JunkPatterns.begin(), state_.JunkPatterns.begin() + slots);
        compiled_.clear();
        for (const std::string& text : patternTexts_) compiled_.emplace_back(text);
    }
    return compiled_;
}

bool JunkScan::walk(const std::string& drive) {
    FolderCacheScope folderCache(files_);
    const std::unique_ptr<DriveFolders> folders = files_.driveFolders(drive, [this] { c_.keepAnswering(); });
    return WalkFolders(
        drive,
        [this] {
            showTitleBeforePump();
            c_.processPendingMessages();
            return !c_.windowClosed();
        },
        [this, &folders](const std::string& path) { return searchFolder(*folders, path); },
        [this](const std::string& path) { pendingTitle_ = path; });   // the subfolder entered next, or the folder left
}

std::vector<std::string> JunkScan::searchFolder(DriveFolders& drive, const std::string& path) {
    std::vector<std::string> folders;
    int count = c_.itemCount(kPatternList);
    // Nothing changes between here and the next pump, so one look at the
    // button stands for a look before every pattern.
    if (stopped()) return folders;

    // One listing serves every pattern and the descent.
    std::vector<FolderEntry> entries = drive.list(path, [this] { c_.keepAnswering(); });
    std::vector<std::u16string> folded(entries.size());
    for (size_t e = 0; e < entries.size(); ++e) {
        if (e % 4096 == 0) c_.keepAnswering();
        if (!entries[e].folder) folded[e] = FoldForMatching(entries[e].name);
    }

    // Pattern position order, then listing order: a file that two patterns
    // match is listed twice, as each search would list it.
    for (const Wildcard& pattern : patterns(count)) {
        c_.keepAnswering();   // a folder may hold hundreds of thousands of files
        for (size_t e = 0; e < entries.size(); ++e) {
            if (entries[e].folder || !pattern.matchesFolded(folded[e])) continue;
            c_.addItem(kResultList, path + entries[e].name);
            listed_.push_back({entries[e].size, entries[e].id});
        }
    }
    // Dot-folders are never searched. Junctions, symbolic links and mount
    // points are not followed: they may loop, or lead off this drive.
    for (FolderEntry& entry : entries)
        if (entry.folder && !entry.reparsePoint && !entry.name.empty() && entry.name[0] != '.')
            folders.push_back(std::move(entry.name));
    return folders;
}

void JunkScan::updateEstimate() {
    c_.setCaption(kEstimateLabel, SizeEstimateText(TotalSize(listed_)));
}

void JunkScan::deleteClicked() {
    if (c_.itemCount(kResultList) == 0) {
        if (c_.messageBox("删除项目为空,是否进行扫描?", "", MessageKind::OkCancelInfo)) scanClicked();
        return;
    }
    // The bin only while its choice is there to be made and made.
    const Removal removal = !c_.disabled(kRecycleChoice) && c_.checked(kRecycleChoice) ? Removal::Recycle : Removal::Delete;
    const int stayed = DeleteCheckedFiles(c_, kResultList, files_, listed_, removal);
    RefreshDiskTable(c_, state_, files_);
    c_.setCaption(kEstimateLabel, "");
    ReportFilesThatStayed(c_, stayed, removal);
}

}  // namespace cc
