#include "platform/win32/AdministratorsLinks.h"

#include <winioctl.h>

#include <vector>

#include "formats/ReparseTarget.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/NtFiles.h"

namespace cc {

std::wstring AdministratorsLinks::trustedTarget(HANDLE parent, std::wstring_view name) {
    NTSTATUS status = 0;
    // The link itself (never followed here), and the folder holding it opened again through its handle.
    UniqueHfile link = OpenNt(parent, name, OpenFor::Owner, status), holder = OpenNt(parent, L"", OpenFor::Owner, status);
    OpenedFile identity;
    if (!link || !holder || !QueryIdentity(link.get(), identity) || !(identity.attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !OwnedByAdministrators(link.get()) || !OwnedByAdministrators(holder.get()))
        return {};
    std::vector<std::uint8_t> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    if (!DeviceIoControl(link.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(), static_cast<DWORD>(data.size()), &got,
                         nullptr))
        return {};
    const std::u16string target = ReparseTarget(std::span(data).first(got));
    return std::wstring(target.begin(), target.end());
}

}  // namespace cc
