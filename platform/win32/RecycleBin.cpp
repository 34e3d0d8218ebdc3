#include "platform/win32/RecycleBin.h"

#include <sddl.h>

#include <random>
#include <vector>

#include "formats/RecycleRecord.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf.h"

namespace cc {
namespace {

constexpr NTSTATUS kNameNotFound = static_cast<NTSTATUS>(0xC0000034);
constexpr ULONG kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// What Windows gives a drive's bin: SYSTEM and Administrators in full, and
// every user leave to look in and to make a folder of his own, which inherits
// nothing of it. The owner is the maker's (Administrators, elevated).
constexpr const wchar_t* kDriveBinSecurity = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;;0x1201ad;;;BU)";
// And a user's folder in it: the user, SYSTEM and Administrators in full,
// nothing from above; the user owns it.
std::wstring UserBinSecurity(const std::wstring& sid) {
    return L"O:" + sid + L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + sid + L")";
}
// What makes Explorer show the folder as the Recycle Bin, under its own localised name.
constexpr char kDesktopIni[] =
    "[.ShellClassInfo]\r\nCLSID={645FF040-5081-101B-9F08-00AA002F954E}\r\n"
    "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-8964\r\n";

std::wstring Child(std::wstring parent, std::wstring_view name) {
    if (parent.empty() || parent.back() != L'\\') parent += L'\\';
    return parent.append(name);
}

// Whether the volume of the open folder keeps access lists (NTFS does, FAT does not).
bool KeepsAccessLists(HANDLE folder) {
    std::vector<std::uint64_t> buffer(64);
    IO_STATUS_BLOCK io{};
    auto* info = reinterpret_cast<FILE_FS_ATTRIBUTE_INFORMATION*>(buffer.data());
    return NT_SUCCESS(NtQueryVolumeInformationFile(folder, &io, info, static_cast<ULONG>(buffer.size() * 8),
                                                   FileFsAttributeInformation)) &&
           (info->FileSystemAttributes & FILE_PERSISTENT_ACLS);
}

// The folder `name` in `parent`, held, where it is a plain folder (no link)
// that the system names `expected`, owned by the user or the administrators;
// made with `security`, hidden and system, where it is missing. On a volume
// without access lists (`acls` false) no owner can be told and nothing is
// made: only a folder there already is used. `made` tells a folder made new.
UniqueHfile HeldBinFolder(HANDLE parent, std::wstring_view name, const std::wstring& expected, const wchar_t* security,
                          bool acls, bool& made) {
    NTSTATUS status = 0;
    UniqueHfile folder = OpenNt(parent, name, OpenFor::Holding, status);
    made = false;
    if (!folder && status == kNameNotFound && acls) {
        UniqueLocalMemory descriptor;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(security, SDDL_REVISION_1, descriptor.put(), nullptr))
            return {};
        folder = MakeNt(parent, name, MakeAs::Folder, status, descriptor.get(), kHiddenSystem);
        made = bool(folder);
    }
    // Where the system followed a link anyway, the name it reports tells.
    if (!folder || !IsPlainAt(folder.get(), true, expected) || (!made && acls && !OwnedByUserOrAdministrators(folder.get())))
        return {};
    return folder;
}

// "$R" or "$I" names' shared part: six random letters or digits, then the extension.
std::wstring RandomSuffix(std::wstring_view extension) {
    // Unpredictable enough: a name that is taken is never used, only given up for another.
    static std::mt19937 random = [] {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        return std::mt19937(static_cast<unsigned>(counter.QuadPart) ^ GetCurrentProcessId());
    }();
    constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::wstring suffix;
    for (int i = 0; i < 6; ++i) suffix += kLetters[random() % 36];
    return suffix.append(extension);
}

FILETIME Now() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return now;
}

}  // namespace

bool KeepsUserBins() {
    RTL_OSVERSIONINFOW version;
    return RealWindowsVersion(version) && version.dwMajorVersion >= 6;
}

RecycleBins::Bin& RecycleBins::binOf(std::wstring_view drive) {
    const auto found = held_.find(std::wstring(drive));
    if (found != held_.end()) return found->second;
    Bin& bin = held_[std::wstring(drive)];
    NTSTATUS status = 0;
    const std::wstring sid = UserSid();
    UniqueHfile root = OpenNt(nullptr, L"\\??\\" + std::wstring(drive) + L"\\", OpenFor::Listing, status);
    OpenedFile opened;
    if (sid.empty() || !root || !QueryOpened(root.get(), opened)) return bin;
    const bool acls = KeepsAccessLists(root.get());
    const std::wstring topName = Child(opened.name, L"$Recycle.Bin"), ownName = Child(topName, sid);
    bool made = false;
    bin.top = HeldBinFolder(root.get(), L"$Recycle.Bin", topName, kDriveBinSecurity, acls, made);
    if (!bin.top) return bin;
    bin.own = HeldBinFolder(bin.top.get(), sid, ownName, UserBinSecurity(sid).c_str(), acls, made);
    bin.name = ownName;
    if (made) {
        if (UniqueHfile ini = MakeNt(bin.own.get(), L"desktop.ini", MakeAs::File, status, nullptr, kHiddenSystem))
            WriteAll(ini.get(), std::as_bytes(std::span(kDesktopIni, sizeof kDesktopIni - 1)));
    }
    return bin;
}

bool RecycleBins::move(HANDLE file, std::wstring_view drive, std::string_view path, std::uint64_t size) {
    RTL_OSVERSIONINFOW version;
    const FILETIME now = Now();
    const std::uint64_t recordVersion = RealWindowsVersion(version) && version.dwMajorVersion >= 10 ? 2 : 1;
    const std::vector<std::uint8_t> record = EncodeRecycleRecord(
        {recordVersion, size, std::uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime, std::string(path)});
    const Bin& bin = binOf(drive);
    if (record.empty() || !bin.own) return false;   // a path too long for this Windows' record, or no bin
    const std::wstring wide = Widen(path);
    const size_t dot = wide.find_last_of(L"\\."), extension = dot != std::wstring::npos && wide[dot] == L'.' ? dot : wide.size();
    // Never over another's name: a name taken, for the record or the file, is given up for another.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::wstring suffix = RandomSuffix(std::wstring_view(wide).substr(extension));
        NTSTATUS status = 0;
        UniqueHfile info = MakeNt(bin.own.get(), L"$I" + suffix, MakeAs::File, status);
        if (!info && status == kNameCollision) continue;
        if (!info) return false;
        const bool written = IsPlainAt(info.get(), false, Child(bin.name, L"$I" + suffix)) &&
                             WriteAll(info.get(), std::as_bytes(std::span(record)));
        if (written && RenameInto(file, bin.own.get(), L"$R" + suffix, false, &status)) return true;
        MarkForDeletion(info.get());   // the record of no file
        if (!written || status != kNameCollision) return false;
    }
    return false;
}

}  // namespace cc
