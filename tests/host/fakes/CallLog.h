#pragma once
// What a fake was asked, a line a call ("delete C:\x.dll"), optionally also
// copied into a journal shared with other fakes so that tests see one order.

#include <string>
#include <vector>

namespace cc::fake {

class CallLog {
public:
    const std::vector<std::string>& log() const { return log_; }
    void journalTo(std::vector<std::string>* journal) { journal_ = journal; }

protected:
    void record(const std::string& line) {
        if (journal_) journal_->push_back(line);
        log_.push_back(line);
    }

private:
    std::vector<std::string> log_;
    std::vector<std::string>* journal_ = nullptr;
};

}  // namespace cc::fake
