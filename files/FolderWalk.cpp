#include "files/FolderWalk.h"

namespace cc {

bool WalkFolders(std::string path, const std::function<bool()>& mayEnter,
                 const std::function<std::vector<std::string>(const std::string&)>& handle,
                 const std::function<void(const std::string&)>& moved) {
    struct Level {
        size_t length;   // of `path` with this folder's "\"
        std::vector<std::string> folders;
        size_t next = 0;
    };
    std::vector<Level> levels;
    for (bool entering = true;;) {
        if (entering) {
            if (!mayEnter()) return false;
            if (path.empty() || path.back() != '\\') path += '\\';
            levels.push_back({path.size(), handle(path)});
        }
        if (levels.empty()) return true;
        Level& top = levels.back();
        path.resize(top.length);
        entering = top.next < top.folders.size();
        if (entering) path += top.folders[top.next++];
        else levels.pop_back();
        if (moved) moved(path);
    }
}

}  // namespace cc
