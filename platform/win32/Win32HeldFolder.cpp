#include "platform/win32/Win32HeldFolder.h"

#include <algorithm>

#include "platform/win32/FolderSecurity.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"

namespace cc {
namespace {

// One name in a folder: no path, stream or "." of its own.
bool IsSingleName(std::wstring_view name) {
    return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:") == std::wstring_view::npos;
}

}  // namespace

Win32HeldFolder::Win32HeldFolder(Win32FileSystem& files, FolderChain chain, HANDLE handle, std::wstring systemName)
    : files_(files), chain_(std::move(chain)), handle_(handle), name_(std::move(systemName)) {}

Win32HeldFolder::Win32HeldFolder(Win32FileSystem& files, UniqueHfile handle, std::wstring systemName, bool made)
    : files_(files), own_(std::move(handle)), handle_(own_.get()), name_(std::move(systemName)), made_(made) {}

Win32HeldFolder::~Win32HeldFolder() {
    if (kept_) return;
    // Only what still is what was made, under the name it was made with: Wine
    // deletes by the name it recorded at the open, which a folder renamed
    // since may lead elsewhere.
    for (auto made = madeFiles_.rbegin(); made != madeFiles_.rend(); ++made) {
        NTSTATUS status = 0;
        UniqueHfile file = OpenNt(handle_, made->first, OpenFor::Deleting, status);
        OpenedFile opened;
        if (file && IsPlainAt(file.get(), false, childName(made->first), &opened) && opened.id == made->second)
            MarkForDeletion(file.get());
    }
    if (made_ && IsPlainAt(handle_, true, name_)) MarkForDeletion(handle_);   // goes if empty, as the handle closes
}

std::wstring Win32HeldFolder::childName(std::wstring_view name) const {
    std::wstring child = name_;
    if (child.empty() || child.back() != L'\\') child += L'\\';
    return child.append(name);
}

std::unique_ptr<HeldFolder> Win32HeldFolder::subfolder(std::string_view name, bool& taken) {
    const std::wstring wide = Widen(name);
    taken = false;
    if (!IsSingleName(wide)) return nullptr;
    NTSTATUS status = 0;
    UniqueHfile folder = MakeNt(handle_, wide, MakeAs::Folder, status);
    taken = status == kNameCollision;
    // Where the system followed a link anyway, the name it reports tells: nothing is made there.
    if (!folder || !IsPlainAt(folder.get(), true, childName(wide))) return nullptr;
    return std::make_unique<Win32HeldFolder>(files_, std::move(folder), childName(wide), true);
}

std::unique_ptr<HeldFolder> Win32HeldFolder::administratorsFolder(std::string_view name, bool& taken) {
    const std::wstring wide = Widen(name);
    taken = false;
    const UniqueLocalMemory security = AdministratorsFolderSecurity();
    if (!IsSingleName(wide) || !security.get()) return nullptr;
    NTSTATUS status = 0;
    UniqueHfile folder = MakeNt(handle_, wide, MakeAs::Folder, status, security.get());
    const bool made = bool(folder), there = status == kNameCollision;
    // There already, it is ours only as a plain folder the administrators own. A link opens as itself, a reparse
    // point; where the system followed it anyway, it reports where it went.
    if (there) folder = OpenNt(handle_, wide, OpenFor::Holding, status);
    const bool ours = folder && IsPlainAt(folder.get(), true, childName(wide)) &&
                      (made || files_.ownedByAdministrators(folder.get()));
    taken = there && !ours;
    return ours ? std::make_unique<Win32HeldFolder>(files_, std::move(folder), childName(wide), made) : nullptr;
}

UniqueHfile Win32HeldFolder::newFile(std::wstring_view name, bool staging) {
    if (!IsSingleName(name)) return {};
    NTSTATUS status = 0;
    UniqueHfile file = MakeNt(handle_, name, MakeAs::File, status);
    OpenedFile opened;
    if (!file || !IsPlainAt(file.get(), false, childName(name), &opened)) return {};
    if (!staging) madeFiles_.emplace_back(name, opened.id);
    return file;
}

bool Win32HeldFolder::createFile(std::string_view name, std::span<const std::byte> content) {
    UniqueHfile file = newFile(Widen(name));
    return file && WriteAll(file.get(), content);
}

Lookup Win32HeldFolder::copyFile(std::string_view from, std::string_view name, std::uint64_t& id) {
    bool gone = false;
    OpenedFile opened;
    UniqueHfile source = files_.openExactFile(from, OpenFor::Reading, kNotListed, gone, &opened);
    if (!source) return gone ? Lookup::Missing : Lookup::Failed;
    UniqueHfile copy = newFile(Widen(name));
    if (!copy) return Lookup::Failed;
    std::vector<std::byte> buffer(1u << 16);
    for (;;) {
        DWORD got = 0, put = 0;
        if (!ReadFile(source.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return Lookup::Failed;
        if (got == 0) break;
        if (!WriteFile(copy.get(), buffer.data(), got, &put, nullptr) || put != got) return Lookup::Failed;
    }
    if (!FlushFileBuffers(copy.get())) return Lookup::Failed;
    id = opened.id;
    return Lookup::Found;
}

bool Win32HeldFolder::replaceFile(std::string_view name, std::span<const std::byte> content) {
    const std::wstring target = Widen(name), stagingName = target + L".cc-new";
    NTSTATUS status = 0;
    // A staging file left over from an earlier run goes first, by handle; the
    // new one must then be new, so nothing planted under its name takes the
    // write elsewhere.
    if (UniqueHfile left = OpenNt(handle_, stagingName, OpenFor::Deleting, status);
        left && IsPlainAt(left.get(), false, childName(stagingName)))
        MarkForDeletion(left.get());
    UniqueHfile staging = newFile(stagingName, true);
    if (!staging) return false;
    if (!WriteAll(staging.get(), content)) return MarkForDeletion(staging.get()), false;
    // The swap: the old file stays until the new one has taken its name.
    if (RenameInto(staging.get(), handle_, target)) return true;
    // A read-only file is replaced too, as it is deleted.
    ULONG attributes = 0;
    auto readOnlyCleared = [&] {
        UniqueHfile old = OpenNt(handle_, target, OpenFor::Changing, status);
        OpenedFile opened;
        if (!old || !IsPlainAt(old.get(), false, childName(target), &opened) || !(opened.attributes & FILE_ATTRIBUTE_READONLY))
            return false;
        attributes = opened.attributes;
        return SetAttributes(old.get(), attributes & ~FILE_ATTRIBUTE_READONLY);
    };
    if (readOnlyCleared()) {
        if (RenameInto(staging.get(), handle_, target)) return true;
        if (UniqueHfile old = OpenNt(handle_, target, OpenFor::Changing, status);
            old && IsPlainAt(old.get(), false, childName(target)))
            SetAttributes(old.get(), attributes);
    }
    MarkForDeletion(staging.get());
    return false;
}

}  // namespace cc
