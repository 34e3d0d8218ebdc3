#include "platform/win32/VolumeTable.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"

namespace cc {
namespace {

// A volume opened for reading only, beside the file system that has it mounted.
class RawVolume final : public VolumeBytes {
public:
    explicit RawVolume(const std::wstring& device)
        : handle_(CreateFileW(device.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {}
    bool opened() const { return static_cast<bool>(handle_); }

    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        // A volume is read in whole sectors at sector offsets: 4,096 bytes
        // covers every sector size NTFS has. The table's large reads are so
        // already; a record or a boot sector goes through a bounce buffer.
        constexpr std::uint64_t kAlign = 4096;
        const std::uint64_t start = offset / kAlign * kAlign, end = (offset + into.size() + kAlign - 1) / kAlign * kAlign;
        if (start == offset && end == offset + into.size()) return readAt(offset, into) == into.size();
        bounce_.resize(static_cast<std::size_t>(end - start));
        if (readAt(start, bounce_) < offset - start + into.size()) return false;
        std::copy_n(bounce_.begin() + static_cast<std::ptrdiff_t>(offset - start), into.size(), into.begin());
        return true;
    }

private:
    // How many bytes from `offset` could be read, up to all of `into`.
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> into) {
        std::size_t done = 0;
        while (done < into.size()) {
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(offset + done);
            at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
            DWORD read = 0;
            const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(into.size() - done, 1u << 30));
            if (!ReadFile(handle_.get(), into.data() + done, ask, &read, &at) || read == 0) break;
            done += read;
        }
        return done;
    }

    UniqueHfile handle_;
    std::vector<std::uint8_t> bounce_;
};

}  // namespace

std::unique_ptr<NtfsTable> ReadDriveTable(std::string_view drive, const std::function<void()>& meanwhile) {
    if (drive.size() < 2 || drive[1] != ':') return nullptr;
    const std::wstring root = Widen(drive.substr(0, 2)) + L"\\";
    const UINT type = GetDriveTypeW(root.c_str());
    wchar_t fileSystem[MAX_PATH + 1]{};
    // FAT, exFAT and ReFS have no such table; a network drive has no volume here to read. A removable drive's
    // bytes are whoever wrote the stick's, not to be parsed raw with the administrator's rights: it is walked
    // through the file system, and a stick is small enough that the walk costs little.
    if (type != DRIVE_FIXED ||
        !GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1) ||
        lstrcmpW(fileSystem, L"NTFS") != 0)
        return nullptr;
    // The drive's own volume; a drive that is a folder of another (subst) opens as that folder, and no
    // boot sector reads from it.
    RawVolume volume(L"\\\\.\\" + root.substr(0, 2));
    return volume.opened() ? NtfsTable::Read(volume, meanwhile) : nullptr;
}

std::vector<FolderEntry> TableFolders::list(std::string_view folder, const std::function<void()>& meanwhile) {
    // The walk names folders from this drive's root, as the table does.
    if (folder.size() < root_.size() || !SameNameIgnoringCase(Widen(folder.substr(0, root_.size())), Widen(root_))) return {};
    std::optional<std::vector<FolderEntry>> entries = table_->list(folder.substr(root_.size()));
    return entries ? std::move(*entries) : files_.listFolder(folder, meanwhile);
}

}  // namespace cc
