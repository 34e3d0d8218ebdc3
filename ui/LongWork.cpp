#include "ui/LongWork.h"

namespace cc {

LongWork::LongWork(ControlLayer& controls) : c_(controls), before_(controls.workProgress()), shown_(true) {
    c_.setWorkProgress({WorkProgress::State::Busy});
}

LongWork::LongWork(ControlLayer& controls, int total)
    : c_(controls), before_(controls.workProgress()), total_(total), shown_(total > kManyItems) {
    if (shown_) c_.setWorkProgress({WorkProgress::State::Share, 0, total_});
}

LongWork::~LongWork() {
    if (shown_ && !c_.windowClosed()) c_.setWorkProgress(before_);
}

void LongWork::progress(int done) {
    if (!shown_) return;
    // The taskbar is another process: a hundred steps are all anybody sees.
    const long long percent = 100LL * done / total_;
    if (percent == shownPercent_) return;
    shownPercent_ = percent;
    c_.setWorkProgress({WorkProgress::State::Share, done, total_});
}

}  // namespace cc
