#include "platform/win32/FolderSecurity.h"

#include <sddl.h>

#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace cc {
namespace {

struct LocalMemoryTraits {
    using Handle = void*;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { LocalFree(h); }
};
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;

}  // namespace

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

bool RunsAsAdministrator() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    BOOL member = FALSE;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators))
        return false;
    const bool ok = CheckTokenMembership(nullptr, administrators, &member) && member;
    FreeSid(administrators);
    return ok;
}

bool OwnedByAdministrators(HANDLE object) {
    std::vector<std::uint64_t> descriptor(512);
    DWORD size = 0;
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!GetKernelObjectSecurity(object, OWNER_SECURITY_INFORMATION, descriptor.data(), static_cast<DWORD>(descriptor.size() * 8), &size) ||
        !GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) || !owner)
        return false;
    for (const wchar_t* trusted : {L"S-1-5-32-544", L"S-1-5-18", L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"}) {
        UniqueLocalMemory sid;
        if (ConvertStringSidToSidW(trusted, reinterpret_cast<PSID*>(sid.put())) && EqualSid(owner, sid.get())) return true;
    }
    return false;
}

bool RestrictToAdministrators(HANDLE folder) {
    const std::wstring user = UserSid();
    if (user.empty()) return false;
    // P: protected. OICI: files and folders made inside inherit each entry.
    const std::wstring sddl = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FR;;;" + user + L")";
    UniqueLocalMemory descriptor;
    return ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor.put(), nullptr) &&
           SetKernelObjectSecurity(folder, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, descriptor.get());
}

}  // namespace cc
