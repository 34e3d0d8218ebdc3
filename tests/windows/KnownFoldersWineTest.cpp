// Our reading of where known and special folders are, held against the shell's on the same registry: every folder
// described, every CSIDL, and again with two per-user folders redirected to folders of the test's own.
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
    using KnownFolderPathFn = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);
    static const auto known = reinterpret_cast<KnownFolderPathFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"shell32.dll"), "SHGetKnownFolderPath")));
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
std::string Ours(const ShellFolderId& folder) { return test::Upper(CurrentFolderPath(folder).value_or("-")); }

// Where Wine differs from Windows it is left out: Wine's shell names folders of system32 for the virtual
// Control Panel and Printers; it has no alternate Startup folders, which Windows pairs with the Startup ones;
// and it finds only the known folders it gives a CSIDL, where Windows puts the others below their parents.
void ExpectSameAsShell(const char* when) {
    std::set<std::string_view> withCsidl;
    for (std::uint32_t csidl = 0; csidl < 0x40; ++csidl) withCsidl.insert(KnownFolderOfCsidl(csidl));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(kFolderDescriptions).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    wchar_t name[64];
    int compared = 0;   // every folder described under the key
    for (DWORD i = 0, size = 64; RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i, size = 64) {
        ShellFolderId folder{true, {}, 0};
        GUID id;
        DWORD category = 0, bytes = sizeof category;
        if (IIDFromString(name, &id) != S_OK || SHGetValueW(key, name, L"Category", nullptr, &category, &bytes)) continue;
        std::memcpy(folder.guid.data(), &id, 16);
        const std::string ours = Ours(folder), shell = Shell(id);
        if ((category == 1 && ours == "-") || (shell == "-" && !withCsidl.count(GuidText(folder.guid)))) continue;
        EXPECT_EQ(ours, shell) << Narrow(name) << " " << when;
        ++compared;
    }
    RegCloseKey(key);
    EXPECT_GT(compared, 50);   // and every CSIDL
    for (std::uint32_t csidl = 0; csidl < 0x40; ++csidl)
        if (csidl != CSIDL_CONTROLS && csidl != CSIDL_PRINTERS && csidl != CSIDL_ALTSTARTUP && csidl != CSIDL_COMMON_ALTSTARTUP)
            EXPECT_EQ(Ours({false, {}, csidl}), Shell(int(csidl))) << csidl << " " << when;
}

}  // namespace
TEST(KnownFoldersOnWine, OurPathsAreTheShellsAsDescribedAndAsRedirected) {
    ExpectSameAsShell("as the prefix has them");
    // Downloads by its GUID, Documents by its older name; put back afterwards.
    test::TempFolder temp;
    const wchar_t* names[] = {L"{374DE290-123F-4565-9164-39C4925E467B}", L"Personal"};
    UniqueKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", 0,
                            KEY_READ | KEY_SET_VALUE, key.put()), ERROR_SUCCESS);
    std::wstring saved[2], moved[2] = {Widen(temp.path()) + L"downloads", Widen(temp.path()) + L"documents"};
    DWORD types[2]{}, bytes[2] = {65536, 65536};
    for (int i = 0; i < 2; ++i) {
        saved[i].resize(bytes[i] / 2);
        if (RegQueryValueExW(key.get(), names[i], nullptr, &types[i], reinterpret_cast<BYTE*>(saved[i].data()), &bytes[i])) types[i] = 0;
        RegSetValueExW(key.get(), names[i], 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(moved[i].c_str()), DWORD(moved[i].size() * 2 + 2));
    }
    ExpectSameAsShell("redirected");
    EXPECT_EQ(Ours({false, {}, CSIDL_PERSONAL}), Found(true, moved[1].c_str()));
    for (int i = 0; i < 2; ++i)
        types[i] ? RegSetValueExW(key.get(), names[i], 0, types[i], reinterpret_cast<const BYTE*>(saved[i].data()), bytes[i])
                 : RegDeleteValueW(key.get(), names[i]);
}
