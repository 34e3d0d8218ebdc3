// Our reading of where known and special folders are, held against the shell's on the same registry: every folder
// described and every CSIDL. The prefix redirects folders only to their default places, so which rule finds a
// folder (redirected by GUID or by older name, HKLM for common ones, else below its parent) is the host test's.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstring>
#include <set>

#include "TestFiles.h"
#include "platform/KnownFolders.h"
#include "platform/win32/Win32KnownFolders.h"

using namespace cc;

namespace {
// "-" for none. Windows names files case-insensitively, and Wine spells some folders ("C:\\Users") otherwise than its registry.
std::string Found(bool found, const wchar_t* path) { return found ? test::Upper(Narrow(path)) : "-"; }
std::string Shell(const GUID& id) {
    static const auto known = SystemFunction<HRESULT WINAPI(const GUID&, DWORD, HANDLE, PWSTR*)>(L"shell32.dll", "SHGetKnownFolderPath");
    PWSTR path = nullptr;
    const bool found = known && known(id, 0x4000 /* KF_FLAG_DONT_VERIFY */, nullptr, &path) == S_OK && path;
    std::string text = Found(found, path);
    CoTaskMemFree(path);
    return text;
}
std::string Shell(int csidl) {
    wchar_t path[MAX_PATH]{};
    return Found(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK, path);
}
// As a link inside the user's profile finds it, or one elsewhere (`ownLink` false).
std::string Ours(const ShellFolderId& folder, bool ownLink = true) {
    return test::Upper(CurrentFolderPath(folder, ownLink).value_or("-"));
}

// Where Wine differs from Windows it is left out: Wine's shell names folders of system32 for the virtual
// Control Panel and Printers; it has no alternate Startup folders, which Windows pairs with the Startup ones;
// and it finds only the known folders it gives a CSIDL, where Windows puts the others below their parents.
TEST(KnownFoldersOnWine, OurPathsAreTheShells) {
    std::set<std::string_view> withCsidl;
    for (std::uint32_t csidl = 0; csidl < 0x40; ++csidl) withCsidl.insert(KnownFolderOfCsidl(csidl));
    UniqueKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(kFolderDescriptions).c_str(), 0, KEY_READ, key.put()), ERROR_SUCCESS);
    wchar_t name[64];
    int compared = 0;   // every folder described under the key
    for (DWORD i = 0, size = 64; !RegEnumKeyExW(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr); ++i, size = 64) {
        ShellFolderId folder{true, {}, 0};
        GUID id;
        DWORD category = 0, bytes = sizeof category;
        if (IIDFromString(name, &id) != S_OK || SHGetValueW(key.get(), name, L"Category", nullptr, &category, &bytes)) continue;
        std::memcpy(folder.guid.data(), &id, 16);
        const std::string ours = Ours(folder), shell = Shell(id);
        if ((category == 1 && ours == "-") || (shell == "-" && !withCsidl.count(GuidText(folder.guid)))) continue;
        EXPECT_EQ(ours, shell) << Narrow(name);
        if (category == 4) { EXPECT_EQ(Ours(folder, false), "-") << Narrow(name) << ": a user's folder, placed for a link elsewhere"; }
        ++compared;
    }
    EXPECT_GT(compared, 50);   // and every CSIDL
    for (std::uint32_t csidl = 0; csidl < 0x40; ++csidl)
        if (csidl != CSIDL_CONTROLS && csidl != CSIDL_PRINTERS && csidl != CSIDL_ALTSTARTUP && csidl != CSIDL_COMMON_ALTSTARTUP)
            EXPECT_EQ(Ours({false, {}, csidl}), Shell(int(csidl))) << csidl;
}
}  // namespace
