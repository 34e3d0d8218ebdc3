#pragma once
// Started command lines and waits, logged ("start explorer.exe", "wait 1000");
// nothing runs. Programs listed as missing fail to start.

#include <string>
#include <vector>

#include "platform/Processes.h"

namespace cc::fake {

class FakeProcesses final : public Processes {
public:
    std::vector<std::string> missingPrograms;   // "ntsd"
    const std::vector<std::string>& log() const { return log_; }
    void journalTo(std::vector<std::string>* journal) { journal_ = journal; }

    bool start(std::string_view commandLine) override {
        record("start " + std::string(commandLine));
        const std::string program(commandLine.substr(0, commandLine.find(' ')));
        for (const auto& missing : missingPrograms)
            if (missing == program) return false;
        return true;
    }
    void wait(int milliseconds) override { record("wait " + std::to_string(milliseconds)); }

private:
    void record(std::string line) {
        if (journal_) journal_->push_back(line);
        log_.push_back(std::move(line));
    }
    std::vector<std::string> log_;
    std::vector<std::string>* journal_ = nullptr;
};

}  // namespace cc::fake
