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

const std::wstring& FolderChain::systemName(size_t level) {
    Level& at = levels_[level];
    if (at.systemName.empty()) {
        OpenedFile opened;
        if (QueryOpened(at.handle.get(), opened)) at.systemName = std::move(opened.name);
    }
    return at.systemName;
}

std::wstring FolderChain::childName(std::wstring_view name) {
    std::wstring parent = levels_.empty() ? L"" : systemName(levels_.size() - 1);
    if (parent.empty() || parent.back() != L'\\') parent += L'\\';
    return parent.append(name);
}

UniqueHfile FolderChain::follow(HANDLE parent, std::wstring_view name) {
    constexpr int kMostLinksInARow = 8;
    const std::wstring target = trust_ && depth_ < kMostLinksInARow ? trust_->trustedTarget(parent, name) : std::wstring();
    if (target.empty()) return {};
    FolderChain there(*trust_, depth_ + 1);
    HANDLE reached = there.reach(target), copy = nullptr;
    if (!reached || !DuplicateHandle(GetCurrentProcess(), reached, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return {};
    return UniqueHfile(copy);
}

HANDLE FolderChain::reach(std::wstring_view folder) {
    std::vector<std::wstring_view> names;
    if (!SplitLocalPath(folder, names)) return nullptr;
    size_t kept = 0;
    while (kept < levels_.size() && kept < names.size() && levels_[kept].name == names[kept]) ++kept;
    levels_.erase(levels_.begin() + kept, levels_.end());
    for (size_t i = kept; i < names.size(); ++i) {
        Level level{std::wstring(names[i]), {}, {}, {}};
        NTSTATUS status = 0;
        if (i == 0) {   // the root, through the drive letter's own link
            level.handle = OpenNt(nullptr, L"\\??\\" + level.name + L"\\", OpenFor::Listing, status);
            if (!level.handle) return nullptr;
            levels_.push_back(std::move(level));
            continue;
        }
        Level& parent = levels_.back();
        level.handle = OpenNt(parent.handle.get(), level.name, OpenFor::Listing, status);
        OpenedFile identity;
        if (!level.handle || !QueryIdentity(level.handle.get(), identity)) return nullptr;
        // Where the system follows a link anyway (Wine), the folder reached
        // is another one: by its number if the parent's listing gave one, else
        // by its name. A root may be a folder of another volume (a substituted
        // drive): whatever it reports, the folders below add their path to it.
        const auto listed = parent.listedFolders.find(level.name);
        bool same = false;
        if (identity.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            same = false;   // a link opened as itself
        } else if (listed != parent.listedFolders.end() && listed->second != 0) {
            same = listed->second == identity.id;
        } else {
            OpenedFile opened;
            same = QueryOpened(level.handle.get(), opened) && SamePathIgnoringCase(opened.name, childName(level.name));
            level.systemName = std::move(opened.name);
        }
        if (!same) {   // a link, as itself or followed: gone through only if trusted
            level.handle = follow(parent.handle.get(), level.name);
            level.systemName.clear();
            if (!level.handle) return nullptr;
        }
        levels_.push_back(std::move(level));
    }
    return levels_.back().handle.get();
}

}  // namespace cc
