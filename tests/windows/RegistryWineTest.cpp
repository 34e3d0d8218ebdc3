// The real registry under Wine, in keys of the test's own that it removes.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>
#include <winternl.h>

#include <cstring>
#include <string>
#include <tuple>

#include "TestFiles.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Registry.h"

using namespace cc;

namespace {

constexpr const wchar_t* kTestKey = L"Software\\ChengchuanCleanerTests";

// The test's key under a root, removed with everything in it before and after.
struct TestKey {
    HKEY root;
    explicit TestKey(HKEY r) : root(r) { SHDeleteKeyW(root, kTestKey); }   // RegDeleteTreeW is Vista and later
    ~TestKey() { SHDeleteKeyW(root, kTestKey); }
    // Exactly these bytes, as another program might store them: through the native call, since
    // Wine's RegSetValueExW adds a NUL that a string lacks.
    void setRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        using SetValue = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, const void*, ULONG);
        static const auto set = reinterpret_cast<SetValue>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey"));
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(root, kTestKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr), 0);
        UNICODE_STRING counted{USHORT(wcslen(name) * 2), USHORT(wcslen(name) * 2), const_cast<wchar_t*>(name)};
        EXPECT_EQ(set(key, &counted, 0, type, data, bytes), 0) << Narrow(name);
        RegCloseKey(key);
    }
};

RegistryValue At(RegistryRoot root, std::string_view name, std::string_view subkey = "Software\\ChengchuanCleanerTests") {
    return {root, subkey, name};
}

TEST(Win32Registry, ReadsTextsAsStoredAndOtherTypesAsEmpty) {
    TestKey hkcu(HKEY_CURRENT_USER);
    Win32Registry registry;
    std::wstring huge(600000, L'w');   // far past any fixed buffer
    huge.back() = L'!';
    const std::tuple<const wchar_t*, DWORD, std::wstring, DWORD, std::string> cases[] = {   // stored as, read as
        {L"Start Page", REG_SZ, L"about:blank", 24, "about:blank"},
        {L"", REG_SZ, L"\"C:\\x.exe\" -nohome", 38, "\"C:\\x.exe\" -nohome"},   // the default value
        {L"Expand", REG_EXPAND_SZ, L"%SystemRoot%\\x.exe", 38, "%SystemRoot%\\x.exe"},   // not expanded
        {L"Unterminated", REG_SZ, L"about:blank", 22, "about:blank"},
        {L"Odd", REG_SZ, L"abc", 5, "ab"},
        {L"Inner", REG_SZ, std::wstring(L"about:blank\0http://x/", 21), 42, "about:blank"},   // as readers see it
        {L"Huge", REG_SZ, huge, 1200002, Narrow(huge)},
        {L"Empty", REG_SZ, L"", 0, ""},
        {L"Number", REG_DWORD, std::wstring(L"\x0001\x0000", 2), 4, ""},
        {L"Binary", REG_BINARY, L"about:blank", 11, ""},
        {L"Multi", REG_MULTI_SZ, std::wstring(L"a\0b\0", 4), 10, ""},
    };
    for (const auto& [name, type, data, bytes, read] : cases) {
        hkcu.setRaw(name, type, data.c_str(), bytes);
        EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, Narrow(name))), read) << Narrow(name);
        EXPECT_TRUE(registry.valueExists(At(RegistryRoot::CurrentUser, Narrow(name)))) << Narrow(name);
        RegistryData stored;   // and the value as it is, for a backup: type and bytes
        ASSERT_EQ(registry.readData(At(RegistryRoot::CurrentUser, Narrow(name)), stored), Lookup::Found) << Narrow(name);
        EXPECT_EQ(stored.type, type) << Narrow(name);
        EXPECT_TRUE(stored.bytes.size() == bytes && !std::memcmp(stored.bytes.data(), data.data(), bytes)) << Narrow(name);
    }
    EXPECT_TRUE(registry.keyExists(RegistryRoot::CurrentUser, "Software\\ChengchuanCleanerTests"));
    EXPECT_FALSE(registry.keyExists(RegistryRoot::CurrentUser, "Software\\ChengchuanCleanerTests\\None"));
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "start page")), "about:blank");   // names ignore case
    for (const RegistryValue& missing : {At(RegistryRoot::CurrentUser, "Missing"),
                                         At(RegistryRoot::CurrentUser, "", "Software\\ChengchuanCleanerTests\\None")}) {
        EXPECT_EQ(registry.readText(missing), "");
        EXPECT_FALSE(registry.valueExists(missing));
        RegistryData none;
        EXPECT_EQ(registry.readData(missing, none), Lookup::Missing);
    }
}

TEST(Win32Registry, WritesCreateMissingKeysAndStoreTerminatedStringsInThe64BitView) {
    TestKey hklm(HKEY_LOCAL_MACHINE);
    Win32Registry registry;
    const std::string text = "\xE4\xB8\xBB\xE9\xA1\xB5 http://\xED\x95\x9C.example/";   // 主页, Hangul
    const RegistryValue value = At(RegistryRoot::LocalMachine, "Page", "Software\\ChengchuanCleanerTests\\A\\B");
    ASSERT_TRUE(registry.writeText(value, text));
    EXPECT_EQ(registry.readText(value), text);
    wchar_t raw[64]{};
    DWORD type = 0, bytes = sizeof raw;
    constexpr const wchar_t* kKey = L"Software\\ChengchuanCleanerTests\\A\\B";
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kKey, L"Page", RRF_RT_ANY, &type, raw, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(Narrow(raw), text);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, (Widen(text).size() + 1) * sizeof(wchar_t));
    HKEY wow = nullptr;   // not in the 32-bit programs' Wow6432Node
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &wow), ERROR_FILE_NOT_FOUND);

    EXPECT_TRUE(registry.deleteValue(value));
    EXPECT_FALSE(registry.valueExists(value));
    EXPECT_FALSE(registry.deleteValue(value));
    EXPECT_FALSE(registry.deleteValue(At(RegistryRoot::LocalMachine, "Page", "Software\\ChengchuanCleanerTests\\Z")));
}

}  // namespace
