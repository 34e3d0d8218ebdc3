#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/Handles.h"
#include "platform/win32/OldWays.h"
#include "platform/win32/Utf.h"

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

std::vector<FolderEntry> Win32FileSystem::listFolder(std::string_view folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data;
    const std::wstring pattern = LongPath(folder) + L"*";
    auto open = [&](FINDEX_INFO_LEVELS level, DWORD flags) {
        return UniqueFindHandle(FindFirstFileExW(pattern.c_str(), level, &data, FindExSearchNameMatch, nullptr, flags));
    };
    // Basic information only (no 8.3 names) and large fetches, from Windows 7 on.
    // Older systems refuse both as an invalid parameter: then standard information.
    static bool refused = false;
    UniqueFindHandle find;
    if (!refused && !OldWayForced(OldWay::FolderListing)) {
        find = open(FindExInfoBasic, FIND_FIRST_EX_LARGE_FETCH);
        refused = !find && GetLastError() == ERROR_INVALID_PARAMETER;
    }
    if (!find && (refused || OldWayForced(OldWay::FolderListing))) find = open(FindExInfoStandard, 0);
    if (!find) return entries;
    do {
        const wchar_t* name = data.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
        FolderEntry entry;
        entry.name = Narrow(name);
        entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.reparsePoint = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entries.push_back(std::move(entry));
    } while (FindNextFileW(find.get(), &data));
    return entries;
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

bool Win32FileSystem::fileExists(std::string_view path) {
    DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::pathExists(std::string_view path) {
    if (path.empty()) return false;
    return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// The whole file, through the same "\\?\" path the scan lists and deletes, so
// that neither a trailing dot or blank nor a device name (COM1.lnk) leads the
// shell to another file. Empty with `inUse` when it cannot be opened at all.
std::optional<std::string> ReadShortcutFile(std::string_view path, bool& inUse) {
    UniqueHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD error = GetLastError();
        inUse = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    constexpr LONGLONG kLargest = 16 << 20;   // far beyond any shortcut
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargest) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return std::nullopt;
    return bytes;
}

// Loads the bytes into the shell link from memory: the shell never opens a name.
bool LoadLink(IShellLinkW* link, const std::string& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
    if (!memory) return false;
    void* data = GlobalLock(memory);
    if (data) {
        memcpy(data, bytes.data(), bytes.size());
        GlobalUnlock(memory);
    }
    ComPtr<IStream> stream;
    if (!data || FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.put()))) {
        GlobalFree(memory);
        return false;
    }
    ComPtr<IPersistStream> persist;
    return SUCCEEDED(link->QueryInterface(IID_IPersistStream, persist.putVoid())) &&
           SUCCEEDED(persist->Load(stream.get()));
}

// "C:\a\..\b/c" as Windows resolves it before it opens anything.
std::string Normalised(const std::wstring& target) {
    std::wstring full(32768, L'\0');
    DWORD length = GetFullPathNameW(target.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return Narrow(target);
    return Narrow(std::wstring_view(full.data(), length));
}

}  // namespace

ShortcutTarget Win32FileSystem::readShortcut(std::string_view path) {
    ShortcutTarget target;
    bool inUse = false;
    std::optional<std::string> bytes = ReadShortcutFile(path, inUse);
    if (!bytes) {
        if (inUse) target.kind = ShortcutTarget::Kind::InUse;
        return target;
    }
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid())) ||
        !LoadLink(link.get(), *bytes))
        return target;

    // An advertised shortcut starts its program through Windows Installer.
    ComPtr<IShellLinkDataList> data;
    DWORD flags = 0;
    if (SUCCEEDED(link->QueryInterface(IID_IShellLinkDataList, data.putVoid())) &&
        SUCCEEDED(data->GetFlags(&flags)) && (flags & SLDF_HAS_DARWINID)) {
        target.kind = ShortcutTarget::Kind::Elsewhere;
        return target;
    }
    std::wstring buffer(32768, L'\0');
    if (link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, 0) == S_OK && buffer[0] != 0) {
        target.kind = ShortcutTarget::Kind::Path;
        target.path = Normalised(buffer.c_str());
        return target;
    }
    // No path, but a shell item: the Control Panel, a printer, a network place.
    PIDLIST_ABSOLUTE items = nullptr;
    if (link->GetIDList(&items) == S_OK && items) {
        target.kind = ShortcutTarget::Kind::Elsewhere;
        CoTaskMemFree(items);
    }
    return target;
}

bool Win32FileSystem::deleteFile(std::string_view path) {
    std::wstring file = LongPath(path);
    if (DeleteFileW(file.c_str())) return true;
    DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
    SetFileAttributesW(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteFileW(file.c_str())) return true;
    SetFileAttributesW(file.c_str(), attributes);
    return false;
}

bool Win32FileSystem::writeFile(std::string_view path, std::span<const std::byte> content) {
    std::wstring target = LongPath(path);
    std::wstring staging = target + L".cc-new";
    {
        UniqueHandle file(CreateFileW(staging.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        size_t written = 0;
        while (written < content.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - written, 1u << 20));
            DWORD done = 0;
            if (!WriteFile(file.get(), content.data() + written, chunk, &done, nullptr) || done == 0) break;
            written += done;
        }
        bool complete = written == content.size() && FlushFileBuffers(file.get());
        if (!complete) {
            file.reset();
            DeleteFileW(staging.c_str());
            return false;
        }
    }
    // The swap: the old file stays until the new one has taken its name.
    constexpr DWORD kSwap = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(staging.c_str(), target.c_str(), kSwap)) return true;
    // A read-only file is replaced too, as it is deleted.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        if (MoveFileExW(staging.c_str(), target.c_str(), kSwap)) return true;
        SetFileAttributesW(target.c_str(), attributes);
    }
    DeleteFileW(staging.c_str());
    return false;
}

}  // namespace cc
