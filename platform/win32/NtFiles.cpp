#include "platform/win32/NtFiles.h"

#include <algorithm>
#include <vector>

#include "platform/win32/OldWays.h"

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK, PVOID, ULONG,
                                               FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING, BOOLEAN);
extern "C" BOOLEAN NTAPI RtlEqualUnicodeString(PCUNICODE_STRING, PCUNICODE_STRING, BOOLEAN);

namespace cc {
namespace {

constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);
constexpr NTSTATUS kInvalidParameter = static_cast<NTSTATUS>(0xC000000D);
constexpr NTSTATUS kInvalidInfoClass = static_cast<NTSTATUS>(0xC0000003);
constexpr NTSTATUS kNotSupported = static_cast<NTSTATUS>(0xC00000BB);
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr ULONG kShareHeld = FILE_SHARE_READ | FILE_SHARE_WRITE;   // nobody renames or deletes it meanwhile

UNICODE_STRING Counted(std::wstring_view text) {
    UNICODE_STRING u;
    u.Buffer = const_cast<PWSTR>(text.data());
    u.Length = u.MaximumLength = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    return u;
}

// Newer Windows 10 refuses to follow an object-manager link in a relative
// name when asked; older systems answer the flag with an invalid parameter.
bool dontReparseRefused = false;

template <class Entry>
void EachEntry(const char* entry, const std::function<void(const ListedName&)>& each) {
    for (;;) {
        const auto* e = reinterpret_cast<const Entry*>(entry);
        std::uint64_t id = 0;
        if constexpr (requires { e->FileId; }) id = static_cast<std::uint64_t>(e->FileId.QuadPart);
        each({{e->FileName, e->FileNameLength / sizeof(wchar_t)}, e->FileAttributes,
              static_cast<std::uint64_t>(e->EndOfFile.QuadPart), id});
        if (!e->NextEntryOffset) return;
        entry += e->NextEntryOffset;
    }
}

// Wine reports a name without its trailing dots and blanks ("x.lnk." as
// "x.lnk"); Windows reports it as stored. Neither changes which folder a name
// is in, so both sides drop them from every name before they are compared.
std::wstring WithoutTrailingDots(std::wstring_view path) {
    std::wstring out;
    out.reserve(path.size());
    auto trim = [&] { while (!out.empty() && (out.back() == L'.' || out.back() == L' ')) out.pop_back(); };
    for (wchar_t ch : path) {
        if (ch == L'\\') trim();
        out += ch;
    }
    trim();
    return out;
}

// NtCreateFile of `name` relative to `parent` (or a whole NT path without
// one), with identification-level impersonation only: a pipe planted under
// the name learns who we are, but cannot act as us.
UniqueHfile CreateRelative(HANDLE parent, std::wstring_view name, ACCESS_MASK access, ULONG share, ULONG disposition,
                            ULONG options, NTSTATUS& status, PSECURITY_DESCRIPTOR security = nullptr,
                            ULONG fileAttributes = FILE_ATTRIBUTE_NORMAL) {
    if (name.size() > 32767) {
        status = kInvalidParameter;
        return {};
    }
    UNICODE_STRING counted = Counted(name);
    SECURITY_QUALITY_OF_SERVICE quality{sizeof quality, SecurityIdentification, SECURITY_STATIC_TRACKING, FALSE};
    // Never for backup: were backup rights ever enabled, that would pass every
    // permission check. Each open asks for exactly what it does (a folder to
    // list or go through: FILE_LIST_DIRECTORY and FILE_TRAVERSE).
    options |= FILE_SYNCHRONOUS_IO_NONALERT;
    // The drive's root is reached through the drive letter's own link.
    if (parent) options |= FILE_OPEN_REPARSE_POINT;
    for (;;) {
        ULONG attributes = OBJ_CASE_INSENSITIVE | (parent && !dontReparseRefused ? OBJ_DONT_REPARSE : 0);
        OBJECT_ATTRIBUTES object;
        InitializeObjectAttributes(&object, &counted, attributes, parent, security);
        object.SecurityQualityOfService = &quality;
        IO_STATUS_BLOCK io{};
        HANDLE handle = nullptr;
        status = NtCreateFile(&handle, access | SYNCHRONIZE, &object, &io, nullptr, fileAttributes, share,
                              disposition, options, nullptr, 0);
        if (status == kInvalidParameter && (attributes & OBJ_DONT_REPARSE)) {
            dontReparseRefused = true;
            continue;
        }
        return UniqueHfile(NT_SUCCESS(status) ? handle : INVALID_HANDLE_VALUE);
    }
}

}  // namespace

UniqueHfile OpenNt(HANDLE parent, std::wstring_view name, OpenFor purpose, NTSTATUS& status) {
    ACCESS_MASK access = FILE_READ_ATTRIBUTES;
    ULONG options = 0, share = kShareAll;
    switch (purpose) {
        case OpenFor::Listing: access |= FILE_LIST_DIRECTORY | FILE_TRAVERSE, options |= FILE_DIRECTORY_FILE; break;
        case OpenFor::Reading: access |= FILE_READ_DATA, options |= FILE_NON_DIRECTORY_FILE; break;
        case OpenFor::Deleting: access |= DELETE, options |= FILE_NON_DIRECTORY_FILE; break;
        case OpenFor::Changing: access |= FILE_WRITE_ATTRIBUTES, options |= FILE_NON_DIRECTORY_FILE; break;
        case OpenFor::Owner: access |= READ_CONTROL; break;
        case OpenFor::Holding: access |= READ_CONTROL | FILE_LIST_DIRECTORY | FILE_TRAVERSE, share = kShareHeld; break;
    }
    return CreateRelative(parent, name, access, share, FILE_OPEN, options, status);
}

UniqueHfile MakeNt(HANDLE parent, std::wstring_view name, MakeAs what, NTSTATUS& status, PSECURITY_DESCRIPTOR security,
                   ULONG attributes) {
    if (!parent) {
        status = kInvalidParameter;
        return {};
    }
    return what == MakeAs::File
        ? CreateRelative(parent, name, FILE_GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE, FILE_SHARE_READ, FILE_CREATE,
                         FILE_NON_DIRECTORY_FILE, status, security, attributes)
        : CreateRelative(parent, name, FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY | FILE_TRAVERSE | DELETE, kShareHeld,
                         FILE_CREATE, FILE_DIRECTORY_FILE, status, security, attributes);
}

bool IsPlainAt(HANDLE handle, bool folder, std::wstring_view expected, OpenedFile* opened) {
    OpenedFile own;
    OpenedFile& info = opened ? *opened : own;
    return QueryOpened(handle, info) && info.directory == folder && !(info.attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           SamePathIgnoringCase(info.name, expected);
}

bool RenameInto(HANDLE file, HANDLE folder, std::wstring_view name, bool replace, NTSTATUS* status) {
    if (name.empty() || name.size() > 32767) return false;
    std::vector<std::uint64_t> buffer((sizeof(FILE_RENAME_INFORMATION) + name.size() * sizeof(wchar_t)) / 8 + 1);
    auto* rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = folder;
    rename->FileNameLength = static_cast<ULONG>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), rename->FileName);
    IO_STATUS_BLOCK io{};
    const NTSTATUS result = NtSetInformationFile(file, &io, rename, static_cast<ULONG>(buffer.size() * 8), FileRenameInformation);
    if (status) *status = result;
    return NT_SUCCESS(result);
}

bool WriteAll(HANDLE file, std::span<const std::byte> content) {
    for (size_t written = 0; written < content.size();) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - written, 1u << 20)), done = 0;
        if (!WriteFile(file, content.data() + written, chunk, &done, nullptr) || done == 0) return false;
        written += done;
    }
    return FlushFileBuffers(file) != FALSE;
}

bool SetAttributes(HANDLE file, ULONG attributes) {
    FILE_BASIC_INFORMATION basic{};   // times of 0 stay as they are
    basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    IO_STATUS_BLOCK io{};
    return NT_SUCCESS(NtSetInformationFile(file, &io, &basic, sizeof basic, FileBasicInformation));
}

bool QueryOpened(HANDLE handle, OpenedFile& info) {
    // One call for attributes, number and name; the name may be as long as a
    // path gets. Only the user-interface thread opens files here.
    static std::vector<std::uint64_t> buffer(sizeof(FILE_ALL_INFORMATION) / 8 + 65536 / 8 + 1);
    IO_STATUS_BLOCK io{};
    auto* all = reinterpret_cast<FILE_ALL_INFORMATION*>(buffer.data());
    if (!NT_SUCCESS(NtQueryInformationFile(handle, &io, all, static_cast<ULONG>(buffer.size() * 8), FileAllInformation)))
        return false;
    info.attributes = all->BasicInformation.FileAttributes;
    info.directory = all->StandardInformation.Directory;
    info.id = static_cast<std::uint64_t>(all->InternalInformation.IndexNumber.QuadPart);
    info.size = static_cast<std::uint64_t>(all->StandardInformation.EndOfFile.QuadPart);
    info.name.assign(all->NameInformation.FileName, all->NameInformation.FileNameLength / sizeof(wchar_t));
    return true;
}

bool QueryIdentity(HANDLE handle, OpenedFile& info) {
    IO_STATUS_BLOCK io{};
    FILE_BASIC_INFORMATION basic{};
    FILE_STANDARD_INFORMATION standard{};
    FILE_INTERNAL_INFORMATION internal{};
    if (!NT_SUCCESS(NtQueryInformationFile(handle, &io, &basic, sizeof basic, FileBasicInformation)) ||
        !NT_SUCCESS(NtQueryInformationFile(handle, &io, &standard, sizeof standard, FileStandardInformation)) ||
        !NT_SUCCESS(NtQueryInformationFile(handle, &io, &internal, sizeof internal, FileInternalInformation)))
        return false;
    info.attributes = basic.FileAttributes;
    info.directory = standard.Directory;
    info.size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    info.id = static_cast<std::uint64_t>(internal.IndexNumber.QuadPart);
    return true;
}

bool ListOpenFolder(HANDLE folder, const std::function<void(const ListedName&)>& each,
                    const std::function<void()>& between) {
    // File numbers come with the listing from NT 5.1 on; a file system that
    // refuses them lists without (and then nothing is checked by number).
    static bool numbersRefused = false;
    const bool withNumbers = !numbersRefused && !OldWayForced(OldWay::FolderListing);
    const auto infoClass = withNumbers ? FileIdFullDirectoryInformation : FileFullDirectoryInformation;
    // 64 KB a call: as much as Windows' own large fetch asks, and what network redirectors allow.
    static std::vector<std::uint64_t> buffer(65536 / 8);
    for (BOOLEAN first = TRUE;; first = FALSE) {
        IO_STATUS_BLOCK io{};
        NTSTATUS status = NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &io, buffer.data(),
                                               static_cast<ULONG>(buffer.size() * 8), infoClass, FALSE, nullptr, first);
        if (status == kNoMoreFiles) return true;
        if (first && withNumbers && (status == kInvalidInfoClass || status == kInvalidParameter || status == kNotSupported)) {
            numbersRefused = true;
            return ListOpenFolder(folder, each, between);
        }
        if (!NT_SUCCESS(status)) return !first;
        if (!first && between) between();
        const char* entries = reinterpret_cast<const char*>(buffer.data());
        if (withNumbers) EachEntry<FILE_ID_FULL_DIR_INFORMATION>(entries, each);
        else EachEntry<FILE_FULL_DIR_INFORMATION>(entries, each);
    }
}

bool MarkForDeletion(HANDLE file) {
    FILE_DISPOSITION_INFORMATION disposition{TRUE};
    IO_STATUS_BLOCK io{};
    return NT_SUCCESS(NtSetInformationFile(file, &io, &disposition, sizeof disposition, FileDispositionInformation));
}

bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size() || a.size() > 32767) return false;
    UNICODE_STRING ua = Counted(a), ub = Counted(b);
    return RtlEqualUnicodeString(&ua, &ub, TRUE);
}

bool SamePathIgnoringCase(std::wstring_view reported, std::wstring_view expected) {
    return SameNameIgnoringCase(WithoutTrailingDots(reported), WithoutTrailingDots(expected));
}

}  // namespace cc
