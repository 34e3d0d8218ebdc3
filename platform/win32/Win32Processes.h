#pragma once
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/win32/Handles.h"

namespace cc {

class Win32Processes final : public Processes {
public:
    bool start(std::string_view commandLine) override;
    void end(std::string_view imageName) override;
    void wait(int milliseconds) override;
    bool shellRunning() override;
    Lookup findRunning(std::string_view imageName) override;

private:
    std::vector<UniqueHandle> ending_;   // ended, not yet waited for
};

// The full path of a command line's program ("ntsd" or "explorer.exe"),
// looked up in the system folder and then the Windows folder only, never in
// the current folder or the program's own. Empty when it is in neither.
std::wstring FindSystemProgram(std::wstring_view commandLine);

// The token a program started for the user gets: the user's own, never the
// administrator's. Elevated under UAC, that is the unelevated token linked to
// the elevated one, as a primary token in `token`; false when it cannot be had,
// and then nothing is started (Windows restarts a shell that ended by itself).
// Not elevated, without UAC (XP, Server 2003) or with UAC off, the process's
// own token is the user's: true, and `token` stays empty.
bool UsersOwnToken(UniqueHandle& token);

}  // namespace cc
