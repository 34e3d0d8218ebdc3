#pragma once
// The depth-first folder walk both scans share.

#include <functional>
#include <string>
#include <vector>

namespace cc {

// Walks `path` and every folder below it, depth first, with a stack of its
// own so that no depth of folders can exhaust the thread's stack; one path
// string grows and shrinks with the levels. Before entering each folder it
// asks `mayEnter` (false ends the walk: the window has closed, and the walk
// answers false); `handle` takes the folder's path, ending in "\", and gives
// back the names of the subfolders to enter, in order; `moved` hears where the
// walk goes next: a subfolder it is about to enter, or the folder it returns to.
bool WalkFolders(std::string path, const std::function<bool()>& mayEnter,
                 const std::function<std::vector<std::string>(const std::string&)>& handle,
                 const std::function<void(const std::string&)>& moved = {});

}  // namespace cc
