#pragma once
// Starting outside programs and waiting.

#include <string_view>

namespace cc {

class Processes {
public:
    virtual ~Processes() = default;

    // Starts a command line ("ntsd -c q -pn explorer.exe") and returns at once,
    // without waiting for the program or watching it. The program is looked up
    // only in the Windows folders. False when it could not be started.
    virtual bool start(std::string_view commandLine) = 0;
    // Blocks the calling thread.
    virtual void wait(int milliseconds) = 0;
};

}  // namespace cc
