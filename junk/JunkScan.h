#pragma once
// The "扫描" page: the junk scan over the checked drives, its stop, the size
// estimate and the deletion of the checked results.

#include <cstdint>
#include <string>
#include <vector>

#include "files/CheckedFiles.h"
#include "junk/JunkControls.h"
#include "junk/Wildcard.h"
#include "platform/FileSystem.h"
#include "state/ProgramState.h"
#include "ui/ControlLayer.h"

namespace cc {

// The estimate text for a total of bytes: KB below 1 MB, else MB, three decimals.
std::string SizeEstimateText(std::uint64_t totalBytes);

class JunkScan {
public:
    JunkScan(ControlLayer& controls, ProgramState& state, FileSystem& files);

    // 按钮1: starts a scan when idle, asks the running one to stop otherwise.
    void scanClicked();
    // 按钮2: deletes the files of the checked results, or moves them to the
    // Recycle Bin while 单选框1 is selected, and removes their items.
    void deleteClicked();

private:
    // Walks a drive folder by folder. False once the window has closed: then
    // nothing may touch a control any more.
    bool walk(const std::string& drive);
    // Lists one folder's matches and gives back its subfolders to enter
    // (none once a stop was requested).
    std::vector<std::string> searchFolder(DriveFolders& drive, const std::string& path);
    bool stopped() const;
    void requestStop();
    void updateEstimate();
    void showTitleBeforePump();
    const std::vector<Wildcard>& patterns(int count);

    ControlLayer& c_;
    ProgramState& state_;
    FileSystem& files_;
    std::vector<ListedFile> listed_;     // what the listing said of each result item's file
    std::string pendingTitle_;           // the folder the window title shows at the next pump
    std::vector<std::string> patternTexts_;
    std::vector<Wildcard> compiled_;
};

}  // namespace cc
