#include "platform/win32/FolderSecurity.h"

#include <sddl.h>

#include <vector>

namespace cc {

std::wstring UserSid() {
    UniqueHandle token;
    std::vector<std::uint64_t> buffer(64);
    DWORD size = 0;
    UniqueLocalMemory text;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()) ||
        !GetTokenInformation(token.get(), TokenUser, buffer.data(), static_cast<DWORD>(buffer.size() * 8), &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, reinterpret_cast<LPWSTR*>(text.put())))
        return {};
    return static_cast<const wchar_t*>(text.get());
}

namespace {

bool OwnedByOneOf(HANDLE object, std::initializer_list<const wchar_t*> owners) {
    std::vector<std::uint64_t> descriptor(512);
    DWORD size = 0;
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!GetKernelObjectSecurity(object, OWNER_SECURITY_INFORMATION, descriptor.data(), static_cast<DWORD>(descriptor.size() * 8), &size) ||
        !GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) || !owner)
        return false;
    for (const wchar_t* trusted : owners) {
        UniqueLocalMemory sid;
        if (ConvertStringSidToSidW(trusted, reinterpret_cast<PSID*>(sid.put())) && EqualSid(owner, sid.get())) return true;
    }
    return false;
}

// Administrators, SYSTEM, TrustedInstaller.
constexpr const wchar_t* kAdministrators = L"S-1-5-32-544";
constexpr const wchar_t* kSystem = L"S-1-5-18";
constexpr const wchar_t* kTrustedInstaller = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

}  // namespace

bool OwnedByAdministrators(HANDLE object) { return OwnedByOneOf(object, {kAdministrators, kSystem, kTrustedInstaller}); }

bool OwnedByUserOrAdministrators(HANDLE object) {
    static const std::wstring user = UserSid();
    return OwnedByOneOf(object, {kAdministrators, kSystem, kTrustedInstaller, user.c_str()});
}

UniqueLocalMemory AdministratorsFolderSecurity() {
    const std::wstring user = UserSid();
    UniqueLocalMemory descriptor;
    // P: protected. OICI: files and folders made inside inherit each entry.
    const std::wstring sddl = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FR;;;" + user + L")";
    if (!user.empty()) ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor.put(), nullptr);
    return descriptor;
}

}  // namespace cc
