#pragma once
// Starting, ending and waiting for outside programs.

#include <string_view>

#include "platform/Lookup.h"

namespace cc {

class Processes {
public:
    virtual ~Processes() = default;

    // Starts a command line ("explorer.exe") and returns at once, without
    // waiting for the program or watching it. The program is looked up only
    // in the Windows folders. False when it could not be started.
    virtual bool start(std::string_view commandLine) = 0;
    // Ends every process of the user's own session whose image name is this
    // bare file name ("SoundMan.exe", letter case ignored), never this program
    // itself; a process it may not end is left alone. Returns at once: the
    // processes go during the next wait.
    virtual void end(std::string_view imageName) = 0;
    // Blocks the calling thread, and lets the processes just ended go meanwhile.
    virtual void wait(int milliseconds) = 0;
    // Whether the Windows shell runs: its taskbar window is there.
    virtual bool shellRunning() = 0;
    // Whether a process that end() would end still runs, or could not be told.
    virtual Lookup findRunning(std::string_view imageName) = 0;
};

}  // namespace cc
