#include "platform/UserProfile.h"

#include <utility>

namespace cc {
namespace {

char Lower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

bool StartsIgnoringCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (Lower(text[i]) != Lower(start[i])) return false;
    return true;
}

}  // namespace

std::string RecordedProfile(Registry& registry, std::string_view sid, std::string_view windows) {
    if (sid.empty() || windows.size() < 3 || windows[1] != ':') return {};
    std::string path = registry.readText({RegistryRoot::LocalMachine,
                                          "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + std::string(sid),
                                          "ProfileImagePath"});
    for (auto [variable, value] : {std::pair{"%SystemDrive%", windows.substr(0, 2)}, {"%SystemRoot%", windows}})
        if (StartsIgnoringCase(path, variable)) path = std::string(value) + path.substr(std::string_view(variable).size());
    const bool full = path.size() >= 3 && path[1] == ':' && path[2] == '\\' && path.find('%') == std::string::npos;
    return full ? path : std::string();
}

bool InsideFolder(std::string_view path, std::string_view folder) {
    while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    return !folder.empty() && path.size() > folder.size() + 1 && path[folder.size()] == '\\' &&
           StartsIgnoringCase(path, folder);
}

}  // namespace cc
