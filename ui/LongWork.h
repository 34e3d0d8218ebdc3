#pragma once
// Long work shown on the taskbar button while it runs. A scan's length is not
// known before it ends, so a scan shows busy from its start; a deletion shows
// the share done, when it has enough items to take long. When the work ends,
// what was shown before comes back: a deletion clicked inside a running scan
// hands the button back to the scan.

#include "ui/ControlLayer.h"

namespace cc {

// A deletion of more checked items than this shows its progress: about 0.7 s
// at the 0.34 ms a file costs under Wine, less on Windows.
inline constexpr int kManyItems = 2000;

class LongWork {
public:
    // Work of unknown length: busy until it ends.
    explicit LongWork(ControlLayer& controls);
    // Work of `total` steps: the share done, if there are more than kManyItems.
    LongWork(ControlLayer& controls, int total);
    ~LongWork();   // what was shown before, unless the window is gone
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // `done` of the total steps are done; shown each time a whole percent more is.
    void progress(int done);

private:
    ControlLayer& c_;
    const WorkProgress before_;
    const int total_ = 0;
    bool shown_ = false;
    long long shownPercent_ = 0;
};

}  // namespace cc
