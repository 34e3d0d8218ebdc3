#pragma once
// Started command lines and waits, logged ("start explorer.exe", "wait 1000");
// nothing runs. Programs listed as missing fail to start.

#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/Processes.h"

namespace cc::fake {

class FakeProcesses final : public Processes, public CallLog {
public:
    std::vector<std::string> missingPrograms;   // "ntsd"

    bool start(std::string_view commandLine) override {
        record("start " + std::string(commandLine));
        const std::string program(commandLine.substr(0, commandLine.find(' ')));
        for (const auto& missing : missingPrograms)
            if (missing == program) return false;
        return true;
    }
    void wait(int milliseconds) override { record("wait " + std::to_string(milliseconds)); }
};

}  // namespace cc::fake
