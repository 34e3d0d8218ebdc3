#include "platform/UserProfile.h"


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

std::string WithSystemVariables(std::string_view text, std::string_view windows) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = text.find('%', at), end = text.find('%', start + 1);
        out.append(text.substr(at, start - at));
        if (start == std::string_view::npos) break;
        if (end == std::string_view::npos) return {};
        const std::string_view name = text.substr(start, end + 1 - start);
        const bool fullWindows = windows.size() > 2 && windows[1] == ':';
        if (name.size() == 12 && StartsIgnoringCase(name, "%SystemRoot%") && !windows.empty()) out += windows;
        else if (name.size() == 13 && StartsIgnoringCase(name, "%SystemDrive%") && fullWindows) out += windows.substr(0, 2);
        else return {};
        at = end + 1;
    }
    return out;
}

std::string RecordedProfile(Registry& registry, std::string_view sid, std::string_view windows) {
    if (sid.empty() || windows.size() < 3 || windows[1] != ':') return {};
    const std::string path = WithSystemVariables(
        registry.readText({RegistryRoot::LocalMachine,
                           "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + std::string(sid),
                           "ProfileImagePath"}),
        windows);
    return path.size() >= 3 && path[1] == ':' && path[2] == '\\' ? path : std::string();
}

bool InsideFolder(std::string_view path, std::string_view folder) {
    while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    return !folder.empty() && path.size() > folder.size() + 1 && path[folder.size()] == '\\' &&
           StartsIgnoringCase(path, folder);
}

}  // namespace cc
