#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "formats/ShellLink.h"
#include "platform/UserProfile.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemFolder.h"
#include "platform/win32/VolumeTable.h"
#include "platform/win32/Win32HeldFolder.h"
#include "platform/win32/Win32KnownFolders.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Registry.h"

namespace cc {

std::wstring LongPath(std::string_view path) {
    std::wstring wide = Widen(path);
    if (wide.rfind(L"\\\\", 0) == 0) {
        if (wide.rfind(L"\\\\?\\", 0) == 0) return wide;
        return L"\\\\?\\UNC\\" + wide.substr(2);   // \\server\share
    }
    if (wide.size() >= 2 && wide[1] == L':') return L"\\\\?\\" + wide;
    return wide;   // relative: leave it to the system
}

std::vector<FolderEntry> Win32FileSystem::listFolder(std::string_view folder, const std::function<void()>& meanwhile) {
    std::vector<FolderEntry> entries;
    HANDLE handle = folders_.reach(Widen(folder));
    if (!handle) return entries;
    ListOpenFolder(handle, [&](const ListedName& listed) {
        const std::wstring_view name = listed.name;
        if (name == L"." || name == L"..") return;
        const bool folder = (listed.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool link = (listed.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (folder && !link) folders_.noteSubfolder(name, listed.id);   // a link is held to its name
        entries.push_back({Narrow(name), folder, link, listed.size, listed.id});
    }, meanwhile);
    return entries;
}

namespace {

// The file listed, by its number now. An NTFS file reference holds the record's sequence number above the
// record number's 48 bits; where the number now holds none, the record number decides.
bool SameFileNumber(std::uint64_t listed, std::uint64_t now) {
    constexpr std::uint64_t kRecordBits = 0xFFFFFFFFFFFFull;
    return listed == now || (now >> 48 == 0 && (listed & kRecordBits) == now);
}

}  // namespace

UniqueHfile Win32FileSystem::openExactFile(std::string_view path, OpenFor purpose, std::uint64_t listedId, bool& gone,
                                            OpenedFile* reported) {
    const std::wstring wide = Widen(path);
    const size_t slash = wide.find_last_of(L'\\');
    gone = false;
    if (slash == std::wstring::npos || slash + 1 == wide.size()) return {};
    const std::wstring_view name = std::wstring_view(wide).substr(slash + 1);
    HANDLE folder = folders_.reach(std::wstring_view(wide).substr(0, slash + 1));
    if (!folder || name.find(L':') != std::wstring_view::npos) return {};
    NTSTATUS status = 0;
    UniqueHfile file = OpenNt(folder, name, purpose, status);
    constexpr NTSTATUS kNameNotFound = static_cast<NTSTATUS>(0xC0000034);
    gone = status == kNameNotFound;
    if (!file) return {};
    // Wine opens through links whatever it is asked, and then reports the
    // name of what it reached: so the name is checked as well as the kind.
    // A pipe or device is what a reader must not wait on; the delete only marks.
    OpenedFile own;
    OpenedFile& opened = reported ? *reported : own;
    if ((purpose == OpenFor::Reading && GetFileType(file.get()) != FILE_TYPE_DISK) ||
        !QueryOpened(file.get(), opened) || opened.directory ||
        (opened.attributes & FILE_ATTRIBUTE_REPARSE_POINT) || (listedId != kNotListed && !SameFileNumber(listedId, opened.id)) ||
        !SamePathIgnoringCase(opened.name, folders_.childName(name)))
        return {};
    return file;
}

std::vector<std::string> Win32FileSystem::drives(bool localDisksOnly) {
    std::vector<std::string> result;
    wchar_t buffer[512]{};
    DWORD length = GetLogicalDriveStringsW(511, buffer);
    if (length == 0 || length > 511) return result;
    for (const wchar_t* root = buffer; *root; root += wcslen(root) + 1) {   // "C:" each
        if (localDisksOnly && GetDriveTypeW(root) != DRIVE_FIXED) continue;
        result.push_back(Narrow(std::wstring_view(root, 2)));
    }
    return result;
}

std::optional<DriveSpace> Win32FileSystem::driveSpace(std::string_view drive) {
    ULARGE_INTEGER available{}, total{}, free{};
    std::wstring root = Widen(drive) + L"\\";
    // No "insert a disk" box for an empty removable drive.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    BOOL ok = GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free);
    SetErrorMode(oldMode);
    if (!ok) return std::nullopt;
    return DriveSpace{total.QuadPart, free.QuadPart};
}

namespace {

// Only "no such file" and "no such folder on the way" say that nothing is
// there; any other failure (access denied, a drive not ready, a file whose
// deletion is pending) leaves it open.
Lookup FindAttributes(std::string_view path, DWORD& attributes) {
    attributes = GetFileAttributesW(LongPath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return Lookup::Found;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Lookup::Missing : Lookup::Failed;
}

}  // namespace

Lookup Win32FileSystem::findFile(std::string_view path) {
    DWORD attributes = 0;
    const Lookup found = FindAttributes(path, attributes);
    return found == Lookup::Found && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Lookup::Missing : found;
}

Lookup Win32FileSystem::findPath(std::string_view path) {
    DWORD attributes = 0;
    return path.empty() ? Lookup::Missing : FindAttributes(path, attributes);
}

namespace {

// What the open file holds, up to far beyond any shortcut's size (`whole`
// says whether that is all of it); nullopt when it cannot be read.
std::optional<std::string> ReadShortcutBytes(HANDLE file, bool& whole) {
    LARGE_INTEGER size{};
    constexpr LONGLONG kLargest = 16 << 20;
    if (!GetFileSizeEx(file, &size)) return std::nullopt;
    whole = size.QuadPart <= kLargest;
    std::string bytes(static_cast<size_t>(whole ? size.QuadPart : kLargest), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
        return std::nullopt;
    return bytes;
}

// What the link reader asks of the system: the system code page, this
// program's own environment, and where a known or special folder is now
// (Win32KnownFolders.h); the last two only for a link of the user's own.
std::string FromSystemCodePage(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(length > 0 ? length : 0, L'\0');
    if (length <= 0 || MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length) != length)
        return {};
    return Narrow(wide);
}

// The services for a link inside this user's own profile (platform/UserProfile.h says why), or elsewhere.
const ShellLinkServices& SystemServices(bool ownLink) {
    static const ShellLinkServices own{FromSystemCodePage, ExpandedVariables,
                                       [](const ShellFolderId& folder) { return CurrentFolderPath(folder, true); }};
    static const ShellLinkServices machine{FromSystemCodePage, nullptr,
                                           [](const ShellFolderId& folder) { return CurrentFolderPath(folder, false); }};
    return ownLink ? own : machine;
}

const std::string& OwnProfile() {
    static Win32Registry registry;
    static const std::string profile =
        RecordedProfile(registry, Narrow(UserSid()), Narrow(SystemFolder(GetWindowsDirectoryW)));
    return profile;
}

// "C:\a\..\b/c" as Windows resolves it before it opens anything. Only a
// drive's full path: a relative one would be resolved against this program's
// own folder, which the link never named.
std::string Normalised(const std::string& target) {
    if (target.size() < 3 || target[1] != ':' || (target[2] != '\\' && target[2] != '/')) return target;
    const std::wstring wide = Widen(target);
    // Most fit in MAX_PATH: the longest path's buffer only for a path that needs it, as a scan reads thousands.
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.assign(length, L'\0');
        length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) return target;
    return Narrow(std::wstring_view(full.data(), length));
}

}  // namespace

ShortcutTarget Win32FileSystem::readShortcut(std::string_view path) {
    ShortcutTarget target;
    bool gone = false;
    UniqueHfile file = openExactFile(path, OpenFor::Reading, kNotListed, gone);
    if (!file) {
        // Gone is judged (unreadable, so invalid); there but not looked at is not.
        if (!gone) target.kind = ShortcutTarget::Kind::NotJudged;
        return target;
    }
    bool whole = true;
    std::optional<std::string> bytes = ReadShortcutBytes(file.get(), whole);
    file.reset();
    // A file that could not be read (an I/O error, a lock on a range) was not looked at.
    if (!bytes) return {ShortcutTarget::Kind::NotJudged, {}};
    // Read by our own reader: no shell code runs on bytes some user wrote.
    const ShellLinkReading reading =
        ReadShellLink({reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()},
                      SystemServices(InsideFolder(path, OwnProfile())));
    // Of a file larger than any shortcut only the start is read; a reading that needed more is no verdict.
    if (!whole && reading.bytesUsed >= bytes->size()) return {ShortcutTarget::Kind::NotJudged, {}};
    target = reading.target;
    if (target.kind == ShortcutTarget::Kind::Path) target.path = Normalised(target.path);
    return target;
}

std::unique_ptr<DriveFolders> Win32FileSystem::driveFolders(std::string_view drive, const std::function<void()>& meanwhile) {
    if (std::unique_ptr<NtfsTable> table = ReadDriveTable(drive, meanwhile))
        return std::make_unique<TableFolders>(*this, drive, std::move(table));
    return FileSystem::driveFolders(drive, meanwhile);
}

bool Win32FileSystem::deleteFile(std::string_view path, std::uint64_t listedId) {
    bool gone = false;
    UniqueHfile file = openExactFile(path, OpenFor::Deleting, listedId, gone);
    return file && MarkForDeletion(file.get());   // it goes as the handle closes
}

// Not the shell's own call: it would find the file again by its path, and
// follow whatever link was put on the way since the scan. The file is held
// as a deletion holds it, and moved by its handle.
bool Win32FileSystem::recycleFile(std::string_view path, std::uint64_t listedId) {
    bool gone = false;
    OpenedFile opened;
    UniqueHfile file = KeepsUserBins() && path.size() > 2 ? openExactFile(path, OpenFor::Deleting, listedId, gone, &opened)
                                                           : UniqueHfile();
    return file && bins_.move(file.get(), Widen(path.substr(0, 2)), path, opened.size);
}

std::unique_ptr<HeldFolder> Win32FileSystem::holdFolder(std::string_view path) {
    // Through a link an administrator made (a profile moved with a junction), never one a user could make.
    FolderChain chain(links());
    HANDLE folder = chain.reach(Widen(path));
    if (!folder || chain.reachedName().empty()) return nullptr;
    std::wstring name = chain.reachedName();
    return std::make_unique<Win32HeldFolder>(*this, std::move(chain), folder, std::move(name));
}

}  // namespace cc
