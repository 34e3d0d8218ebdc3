// A physical disk: its texts from the storage property query, its size and
// geometry from the drive-geometry query. Opened with no access rights so
// that no administrator is needed.
#include <windows.h>
#include <winioctl.h>

#include <string>

#include "formats/StorageDescriptor.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32SystemQueries.h"

namespace cc {

namespace {

bool ReadDescriptor(HANDLE disk, StorageTexts& texts) {
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    std::vector<std::uint8_t> buffer(4096);
    DWORD returned = 0;
    if (!DeviceIoControl(disk, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, buffer.data(),
                         static_cast<DWORD>(buffer.size()), &returned, nullptr))
        return false;
    std::size_t size = returned;
    if (size >= sizeof(STORAGE_DEVICE_DESCRIPTOR)) {
        // The descriptor says how much of it is real.
        const auto* descriptor = reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(buffer.data());
        if (descriptor->Size < size) size = descriptor->Size;
    }
    texts = ParseStorageDescriptor(buffer.data(), size);
    return true;
}

std::int32_t Clamped(LONGLONG value) {
    if (value < 0) return 0;
    return value > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<std::int32_t>(value);
}

bool ReadGeometry(HANDLE disk, DiskInfo& info) {
    DISK_GEOMETRY_EX geometry{};
    DWORD returned = 0;
    if (DeviceIoControl(disk, IOCTL_DISK_GET_DRIVE_GEOMETRY_EX, nullptr, 0, &geometry, sizeof geometry, &returned,
                        nullptr) &&
        returned >= offsetof(DISK_GEOMETRY_EX, Data)) {
        info.capacityMegabytes = Clamped(geometry.DiskSize.QuadPart / (1024 * 1024));
        info.cylinders = Clamped(geometry.Geometry.Cylinders.QuadPart);
        info.heads = Clamped(geometry.Geometry.TracksPerCylinder);
        info.sectorsPerTrack = Clamped(geometry.Geometry.SectorsPerTrack);
        return true;
    }
    DISK_GEOMETRY plain{};
    if (!DeviceIoControl(disk, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &plain, sizeof plain, &returned, nullptr) ||
        returned < sizeof plain)
        return false;
    const LONGLONG bytes = plain.Cylinders.QuadPart * plain.TracksPerCylinder * plain.SectorsPerTrack *
                           static_cast<LONGLONG>(plain.BytesPerSector);
    info.capacityMegabytes = Clamped(bytes / (1024 * 1024));
    info.cylinders = Clamped(plain.Cylinders.QuadPart);
    info.heads = Clamped(plain.TracksPerCylinder);
    info.sectorsPerTrack = Clamped(plain.SectorsPerTrack);
    return true;
}

}  // namespace

bool Win32SystemQueries::QueryDiskInfo(int number, DiskInfo& info) {
    if (number < 0) return false;
    const std::wstring path = L"\\\\.\\PhysicalDrive" + std::to_wstring(number);
    UniqueHfile disk(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    if (!disk) return false;
    DiskInfo read;   // the system gives no cache size to an unprivileged caller: it stays 0
    StorageTexts texts;
    const bool described = ReadDescriptor(disk.get(), texts);
    const bool measured = ReadGeometry(disk.get(), read);
    if (!described && !measured) return false;
    read.model = texts.model;
    read.firmwareVersion = texts.revision;
    read.serialNumber = texts.serialNumber;
    info = read;
    return true;
}

}  // namespace cc
