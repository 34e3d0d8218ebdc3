#include "platform/win32/FolderChain.h"

#include <algorithm>

#include "platform/win32/NtFiles.h"

namespace cc {

bool SplitLocalPath(std::wstring_view path, std::vector<std::wstring_view>& names) {
    names.clear();
    if (path.starts_with(L"\\\\?\\")) path.remove_prefix(4);
    const bool letter = path.size() >= 2 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') && path[1] == L':';
    if (!letter || (path.size() > 2 && path[2] != L'\\')) return false;
    names.push_back(path.substr(0, 2));
    for (size_t start = 3; start < path.size();) {
        size_t end = std::min(path.find(L'\\', start), path.size());
        std::wstring_view name = path.substr(start, end - start);
        if (name == L"." || name == L".." || name.find(L':') != std::wstring_view::npos) return false;
        if (!name.empty()) names.push_back(name);
        start = end + 1;
    }
    return true;
}

std::wstring FolderChain::childName(std::wstring_view name) const {
    std::wstring parent = levels_.empty() ? L"" : levels_.back().systemName;
    if (parent.empty() || parent.back() != L'\\') parent += L'\\';
    return parent.append(name);
}

HANDLE FolderChain::reach(std::wstring_view folder) {
    std::vector<std::wstring_view> names;
    if (!SplitLocalPath(folder, names)) return nullptr;
    size_t kept = 0;
    while (kept < levels_.size() && kept < names.size() && levels_[kept].name == names[kept]) ++kept;
    levels_.erase(levels_.begin() + kept, levels_.end());
    for (size_t i = kept; i < names.size(); ++i) {
        Level level{std::wstring(names[i]), {}, {}};
        NTSTATUS status = 0;
        const bool root = i == 0;
        level.handle = root ? OpenNt(nullptr, L"\\??\\" + level.name + L"\\", OpenFor::Listing, status)
                            : OpenNt(levels_.back().handle.get(), level.name, OpenFor::Listing, status);
        OpenedFile opened;
        if (!level.handle || !QueryOpened(level.handle.get(), opened) || !opened.directory) return nullptr;
        // The root may be a folder of another volume (a substituted drive):
        // whatever it reports, every folder below must report that plus its path.
        if (!root && ((opened.attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
                      !SamePathIgnoringCase(opened.name, childName(level.name))))
            return nullptr;
        level.systemName = std::move(opened.name);
        levels_.push_back(std::move(level));
    }
    return levels_.back().handle.get();
}

}  // namespace cc
